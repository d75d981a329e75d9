// SPDX-License-Identifier: MIT
#pragma once
// Size limits of the main window, in pixels (outer size).
#include <cstdint>

namespace kuvell {

inline constexpr int32_t kMinWindowWidth = 10;
inline constexpr int32_t kMinWindowHeight = 10;
inline constexpr int32_t kMaxWindowWidth = 310;
inline constexpr int32_t kMaxWindowHeight = 10000;

struct WindowSize
{
    int32_t cx = 0;
    int32_t cy = 0;
};

// The MinMaxWindowProc arithmetic: raise to the minimum first, then cap at the maximum.
WindowSize clampWindowSize(WindowSize proposed);

}  // namespace kuvell
