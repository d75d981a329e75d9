// SPDX-License-Identifier: MIT
#pragma once
// Size limits of the main window, and keeping it where it can be reached; in
// pixels (outer size).
#include <cstdint>
#include <span>

#include "platform/core/PixelRect.h"
#include "platform/core/Twips.h"

namespace kuvell {

// At 96 dpi; a display's scale multiplies them.
inline constexpr int32_t kMinWindowWidth = 10;
inline constexpr int32_t kMinWindowHeight = 10;
inline constexpr int32_t kMaxWindowWidth = 310;
inline constexpr int32_t kMaxWindowHeight = 10000;

struct WindowSize
{
    int32_t cx = 0;
    int32_t cy = 0;
};

// The smallest and largest outer size at a display scale (dpi; 96: the
// constants above).
struct WindowSizeBounds
{
    WindowSize smallest;
    WindowSize largest;
};
WindowSizeBounds windowSizeBounds(int dpi);

// The MinMaxWindowProc arithmetic: raise to the minimum first, then cap at the maximum.
WindowSize clampWindowSize(WindowSize proposed, int dpi = kBaseDpi);

// How much of a window must lie on one screen for the user to see and grab it.
inline constexpr int32_t kReachablePart = 30;

// Where a window stored at `stored` opens, given the screens' available areas.
// Unchanged when a part of 30 x 30 pixels (all of a smaller window) lies on one
// screen. Otherwise it keeps its size and moves the least way onto the nearest
// screen: wholly on it where it fits, else from the screen's left or top edge.
// Unchanged as well when no screen has an area.
PixelRect keepReachable(PixelRect stored, std::span<const PixelRect> screens);

}  // namespace kuvell
