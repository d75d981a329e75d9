// SPDX-License-Identifier: MIT
#pragma once
// The four tray pictures: two overlapping monitors whose screens light up red
// for the directions that carried traffic in the last tick. Drawn for the size
// asked for, edges on whole pixels, with a light rim outside the dark outline
// so that the shape reads on dark panels as well as on light ones.
#include <array>
#include <cstdint>
#include <vector>

namespace kuvell {

inline constexpr int kTrayImageCount = 4;
inline constexpr int kTrayImageSize = 16;
// The sizes notification areas ask for, from 16 px panels to high-density ones.
inline constexpr std::array<int, 5> kTrayImageSizes = {16, 22, 24, 32, 48};
// Panels ask for a few dozen pixels; no request draws more than this a side,
// so none can make the icon allocate without bound.
inline constexpr int kLargestTrayImageSide = 256;

struct TrayPicture
{
    int side = 0;
    // side * side pixels, 0xAARRGGBB (not premultiplied), row after row from the top.
    std::vector<uint32_t> pixels;
};

// number 1: both screens dark; 2: the rear screen red (download);
// 3: the front screen red (upload); 4: both red. Any other number gives picture 1.
// size: the square's side in pixels, held to 1..kLargestTrayImageSide.
TrayPicture trayPicture(int number, int size = kTrayImageSize);

}  // namespace kuvell
