// SPDX-License-Identifier: MIT
#include "platform/core/Twips.h"

#include <cmath>
#include <limits>

namespace kuvell {

int32_t twipsToPixels(double twips)
{
    if (std::isnan(twips)) {
        return 0;
    }
    const double pixels = std::nearbyint(twips / kTwipsPerPixel);
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    if (pixels <= kLowest) {
        return std::numeric_limits<int32_t>::min();
    }
    if (pixels >= kHighest) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(pixels);
}

}  // namespace kuvell
