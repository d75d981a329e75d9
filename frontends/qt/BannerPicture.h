// SPDX-License-Identifier: MIT
#pragma once
// The about page's banner, drawn in code so no image file has to ship with it.
#include <QImage>

namespace kuvell {

// A 250 x 127, 24-bit picture: Kuvell's name over a small traffic graph.
QImage drawBanner();

}  // namespace kuvell
