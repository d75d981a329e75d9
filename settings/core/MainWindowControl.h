// SPDX-License-Identifier: MIT
#pragma once
// What the settings dialog may do to the main window, without knowing it.
#include <cstdint>
#include <string_view>

#include "platform/core/Result.h"

namespace kuvell {

class MainWindowControl
{
  public:
    virtual ~MainWindowControl() = default;
    // One of the ten transparency alphas (26 .. 255).
    virtual void setOpacity(int16_t alpha) = 0;
    // The graph's clear colour (0x00BBGGRR); the graph is cleared to it.
    virtual void setGraphBackground(int32_t bgr) = 0;
    // Height, then width, one pixel (15 twips) more; the window lays itself out again.
    virtual void nudgeSize() = 0;
    // Into or out of the topmost band, where the window is now.
    virtual void setTopMost(bool onTop) = 0;
    // A modal message over the main window, for what the user must know.
    virtual void showMessage(std::string_view text) = 0;
};

// Kuvell's entry among the programs that start at login.
class StartAtLogin
{
  public:
    virtual ~StartAtLogin() = default;
    virtual Result enable() = 0;
    virtual Result disable() = 0;
};

}  // namespace kuvell
