// SPDX-License-Identifier: MIT
#pragma once

namespace kuvell::testsupport {

// How many pixels of the image (a QImage, a PixelImage or the graph buffer)
// have exactly this colour.
template <typename Image, typename Colour>
int countPixels(const Image& image, Colour colour)
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
