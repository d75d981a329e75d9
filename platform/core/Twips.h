// SPDX-License-Identifier: MIT
#pragma once
// Positions stay in twips; pixels only at the window-system boundary.
#include <cstdint>

namespace kuvell {

// A rectangle as the layouts were drawn: twips, 15 to a pixel at 96 dpi.
struct TwipsRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

inline constexpr int kTwipsPerPixel = 15;

// twips / 15 in double precision, rounded ties-to-even to a 32-bit integer (saturating).
int32_t twipsToPixels(double twips);
inline constexpr int64_t pixelsToTwips(int64_t pixels) { return pixels * kTwipsPerPixel; }

}  // namespace kuvell
