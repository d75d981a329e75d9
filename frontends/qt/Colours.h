// SPDX-License-Identifier: MIT
#pragma once
// Kuvell stores colours as 0x00BBGGRR integers (red in the low byte).
#include <QColor>
#include <cstdint>

namespace kuvell {

QColor colourFromBgr(int32_t bgr);
int32_t bgrFromColour(const QColor& colour);

}  // namespace kuvell
