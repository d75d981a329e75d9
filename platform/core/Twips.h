// SPDX-License-Identifier: MIT
#pragma once
// Positions stay in twips; pixels only at the window-system boundary.
#include <cstdint>

namespace kuvell {

inline constexpr int kTwipsPerPixel = 15;

// twips / 15 in double precision, rounded ties-to-even to a 32-bit integer (saturating).
int32_t twipsToPixels(double twips);
inline constexpr int64_t pixelsToTwips(int64_t pixels) { return pixels * kTwipsPerPixel; }

}  // namespace kuvell
