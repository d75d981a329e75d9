// SPDX-License-Identifier: MIT
#include "frontends/qt/TrayImages.h"

#include <vector>

namespace kuvell {

QImage drawTrayImage(int number, int size)
{
    TrayPicture picture = trayPicture(number, size);
    // The image takes the pixels over and frees them with itself.
    auto* pixels = new std::vector<uint32_t>(std::move(picture.pixels));
    return QImage(
        reinterpret_cast<uchar*>(pixels->data()), picture.side, picture.side,
        picture.side * static_cast<int>(sizeof(uint32_t)), QImage::Format_ARGB32,
        [](void* owned) { delete static_cast<std::vector<uint32_t>*>(owned); }, pixels);
}

}  // namespace kuvell
