// SPDX-License-Identifier: MIT
#pragma once
// What the monitor's presenter asks of its window. A frontend draws and does
// what it is told and forwards what the user does; tests fake it.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "monitor/core/MainLayout.h"
#include "monitor/core/Pixels.h"
#include "platform/core/WindowBounds.h"
#include "settings/core/StartupSettings.h"

namespace kuvell {

class MonitorView
{
  public:
    virtual ~MonitorView() = default;

    // Start-up, in the order the presenter calls them.
    virtual void setOpacity(int16_t alpha) = 0;
    virtual void applySizeBounds() = 0;
    // Every screen's area that windows may use, in pixels.
    virtual std::vector<PixelRect> screenAreas() const = 0;
    // The display scale the window stands at, in dots per inch (see Twips.h):
    // its pixel sizes and the twips of its placement go by it. A window system
    // that scales device-independent pixels itself (Qt) stays at 96.
    virtual int displayDpi() const { return kBaseDpi; }
    // The outer rectangle in twips, in or out of the topmost band.
    virtual void placeWindow(const WindowPlacement& twips, bool onTop) = 0;
    // The window's outer size in pixels, and a new one within its bounds.
    virtual PixelSize windowSize() const = 0;
    virtual void resizeWindow(PixelSize size) = 0;
    // The controls' places, and the graph's pixels: the image the graph shows
    // from now on, until the next call (only a new size changes it).
    virtual void placeControls(const MainControls& controls, const PixelImage& graph) = 0;
    virtual void addTrayIcon(int picture, std::string_view tip) = 0;

    // Each tick: the rate line, the tray icon's picture or tooltip when one of
    // them changed (nullopt: it stays) and, while the window is not hidden by
    // the user, the graph's changed rectangle.
    virtual void showRates(std::string_view line) = 0;
    virtual void updateTrayIcon(std::optional<int> picture,
                                std::optional<std::string_view> tip) = 0;
    virtual void showGraphChange(const PixelRect& changed) = 0;

    virtual bool isWindowVisible() const = 0;
    // activate: raised and given the focus, as after the tray's double-click.
    virtual void showWindow(bool activate) = 0;
    virtual void hideWindow() = 0;

    // The quit and the other ends.
    virtual PixelRect outerRect() const = 0;
    virtual void stopTicks() = 0;
    virtual void removeTrayIcon() = 0;
    // A modal message; ticks may arrive while it is open.
    virtual void showMessage(std::string_view text) = 0;
    virtual void exitProgram(int status) = 0;
    // A note for the log (a start-up step that failed, a window moved on screen).
    virtual void logNote(std::string_view text) = 0;
};

}  // namespace kuvell
