// SPDX-License-Identifier: MIT
#pragma once
// What the settings dialog may do to the main window, without knowing it.
#include <cstdint>

class QString;
class QWidget;

namespace kuvell {

class MainWindowAccess
{
  public:
    virtual ~MainWindowAccess() = default;
    // The main window itself: target of setTransparency, makeTopMost, makeNotTopMost.
    virtual QWidget* mainWindow() = 0;
    // graphBuffer_'s clear colour := colour (0x00BBGGRR); also clears the buffer.
    virtual void setBufferBackground(int32_t colour) = 0;
    // Height += 15 twips, then width += 15 twips; the window lays itself out again.
    virtual void nudgeSize() = 0;
    // A modal message over the main window, for what the user must know.
    virtual void showMessage(const QString& text) = 0;
};

}  // namespace kuvell
