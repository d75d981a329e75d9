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

// A display's scale as its dots per inch: 96 is 100 %, 144 is 150 %. An inch
// is 1440 twips at every scale, so a pixel is 1440 / dpi twips. A dpi of 0 or
// less (a system that could not say) counts as 96, one above 1440 as 1440.
inline constexpr int kBaseDpi = 96;

// twips / (1440 / dpi) in double precision, rounded ties-to-even to a 32-bit
// integer (saturating).
int32_t twipsToPixels(double twips, int dpi = kBaseDpi);
// pixels * 1440 / dpi, rounded ties-to-even.
int64_t pixelsToTwips(int32_t pixels, int dpi = kBaseDpi);
// A size drawn in pixels at 96 dpi, at the display's scale (ties-to-even).
int scaledPixels(int pixels, int dpi);

}  // namespace kuvell
