// SPDX-License-Identifier: MIT
#pragma once
// The about page's banner: the core's backdrop with its two lines in Qt's fonts.
#include <QImage>

namespace kuvell {

// A 250 x 127, 24-bit picture: Kuvell's name over a small traffic graph.
QImage drawBanner();

}  // namespace kuvell
