// SPDX-License-Identifier: MIT
#pragma once
#include <QImage>

namespace kuvell::testsupport {

// How many pixels of the image have exactly this colour.
inline int countPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            count += image.pixel(column, row) == colour ? 1 : 0;
        }
    }
    return count;
}

}  // namespace kuvell::testsupport
