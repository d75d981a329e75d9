// SPDX-License-Identifier: MIT
#pragma once
// The tray pictures (see monitor/core/TrayPictures.h) as Qt images.
#include <QImage>

#include "monitor/core/TrayPictures.h"

namespace kuvell {

// The core's picture for `number` and `size`, in Format_ARGB32 over its own pixels.
QImage drawTrayImage(int number, int size = kTrayImageSize);

}  // namespace kuvell
