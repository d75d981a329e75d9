#pragma once
// The four 16x16 tray pictures: two overlapping monitors whose screens light up
// red for the directions that carried traffic in the last tick.
#include <QImage>

namespace kuvell {

inline constexpr int kTrayImageCount = 4;
inline constexpr int kTrayImageSize = 16;

// number 1: both screens dark; 2: the rear screen red (download);
// 3: the front screen red (upload); 4: both red. Any other number gives image 1.
QImage drawTrayImage(int number);

}  // namespace kuvell
