// SPDX-License-Identifier: MIT
#include "platform/core/Twips.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kuvell {
namespace {

constexpr double kTwipsPerInch = 1440;

double usableDpi(int dpi) { return dpi <= 0 ? kBaseDpi : std::min<double>(dpi, kTwipsPerInch); }

int32_t saturated(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value);
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    if (rounded <= kLowest) {
        return std::numeric_limits<int32_t>::min();
    }
    if (rounded >= kHighest) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(rounded);
}

}  // namespace

// 1440 / dpi is exact for the common scales (15 at 96, 10 at 144, 7.5 at 192),
// so those divide as exactly as the plain twips / 15 did.
int32_t twipsToPixels(double twips, int dpi)
{
    return saturated(twips / (kTwipsPerInch / usableDpi(dpi)));
}

int64_t pixelsToTwips(int32_t pixels, int dpi)
{
    // 32-bit pixels times 1440 stay exact in a double.
    return static_cast<int64_t>(
        std::nearbyint(static_cast<double>(pixels) * kTwipsPerInch / usableDpi(dpi)));
}

int scaledPixels(int pixels, int dpi)
{
    return saturated(static_cast<double>(pixels) * usableDpi(dpi) / kBaseDpi);
}

}  // namespace kuvell
