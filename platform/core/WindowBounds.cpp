// SPDX-License-Identifier: MIT
#include "platform/core/WindowBounds.h"

#include <algorithm>

namespace kuvell {

WindowSize clampWindowSize(WindowSize proposed)
{
    // Raising to the minimum and then capping at the maximum is a plain clamp,
    // since every minimum lies below its maximum.
    return {std::clamp(proposed.cx, kMinWindowWidth, kMaxWindowWidth),
            std::clamp(proposed.cy, kMinWindowHeight, kMaxWindowHeight)};
}

}  // namespace kuvell
