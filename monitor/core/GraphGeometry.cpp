// SPDX-License-Identifier: MIT
#include "monitor/core/GraphGeometry.h"

#include <algorithm>
#include <cmath>

namespace kuvell {

int32_t graphScale(int32_t connectionSpeed)
{
    // |speed| * 1.3 / 10000 stays far inside the 32-bit range.
    return static_cast<int32_t>(
        std::nearbyint(static_cast<double>(connectionSpeed) * 1.3 / 10000.0));
}

std::optional<RowSpan> barRows(double value, int32_t graphScale, int displayHeight,
                               int bufferHeight)
{
    if (graphScale == 0 || bufferHeight <= 0) {
        return std::nullopt;
    }
    const double hd = displayHeight;
    // Coordinates travel in single precision; keep the value inside float's range first.
    constexpr double kFarOutside = 1e9;
    const float yTop =
        static_cast<float>(std::clamp(hd - hd * value / graphScale, -kFarOutside, kFarOutside));
    const double top = std::nearbyint(static_cast<double>(yTop));
    const int last = bufferHeight - 1;
    // Also rejects a NaN top.
    if (!(top <= last)) {
        return std::nullopt;
    }
    return RowSpan{top <= 0 ? 0 : static_cast<int>(top), last};
}

int barColumn(int bufferWidth, int slot, int dpi) { return bufferWidth - scaledPixels(slot, dpi); }

std::array<Bar, 2> barsInDrawOrder(double download, double upload, int32_t downloadColour,
                                   int32_t uploadColour)
{
    const Bar dl{download, downloadColour};
    const Bar ul{upload, uploadColour};
    if (download > upload) {
        return {dl, ul};
    }
    return {ul, dl};
}

}  // namespace kuvell
