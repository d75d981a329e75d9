// SPDX-License-Identifier: MIT
#pragma once
#include <QStringView>
#include <cstdint>

class QWidget;

namespace kuvell {

enum class [[nodiscard]] TransparencyResult : int32_t{
    Applied = 0,
    AlphaOutOfRange = 1,  // outside 0..255: nothing done
    NotShown = 2,         // the window system does not show it
};

// The opacity is stored on the window in every case but AlphaOutOfRange, so it
// reads back (and takes effect should the window move to a display that can
// show it); NotShown only says that the present window system does not show it.
TransparencyResult setTransparency(QWidget* window, const int16_t& alpha);

// Whether windows of the named Qt platform plugin can be shown translucent. X11
// counts as able: the window carries the opacity, and whichever compositor runs,
// now or later, honours it.
bool platformSupportsOpacity(QStringView platformName);

}  // namespace kuvell
