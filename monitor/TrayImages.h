// SPDX-License-Identifier: MIT
#pragma once
// The four tray pictures: two overlapping monitors whose screens light up red
// for the directions that carried traffic in the last tick. Drawn for the size
// asked for, edges on whole pixels, with a light rim outside the dark outline
// so that the shape reads on dark panels as well as on light ones.
#include <QImage>
#include <array>

namespace kuvell {

inline constexpr int kTrayImageCount = 4;
inline constexpr int kTrayImageSize = 16;
// The sizes notification areas ask for, from 16 px panels to high-density ones.
inline constexpr std::array<int, 5> kTrayImageSizes = {16, 22, 24, 32, 48};

// number 1: both screens dark; 2: the rear screen red (download);
// 3: the front screen red (upload); 4: both red. Any other number gives image 1.
// size: the square's side in pixels (at least 1).
QImage drawTrayImage(int number, int size = kTrayImageSize);

}  // namespace kuvell
