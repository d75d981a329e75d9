// SPDX-License-Identifier: MIT
#include "frontends/qt/Colours.h"

namespace kuvell {

QColor colourFromBgr(int32_t bgr)
{
    // The high byte carries nothing; a negative stored value keeps its low three bytes.
    const auto bits = static_cast<uint32_t>(bgr);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

int32_t bgrFromColour(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<int32_t>(static_cast<uint32_t>(rgb.red()) |
                                (static_cast<uint32_t>(rgb.green()) << 8) |
                                (static_cast<uint32_t>(rgb.blue()) << 16));
}

}  // namespace kuvell
