// SPDX-License-Identifier: MIT
#pragma once
// What Kuvell's main window decides: the order of start-up, each second's
// tick, the tray icon's clicks and the two ways of ending. The window only
// draws what it is told.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/core/GraphRaster.h"
#include "monitor/core/InterfaceMenu.h"
#include "monitor/core/MonitorView.h"
#include "monitor/core/RateHistories.h"
#include "monitor/core/TrafficTick.h"
#include "monitor/core/TrayActivations.h"
#include "settings/core/KeyValueStore.h"
#include "settings/core/ProgramVariables.h"
#include "stats/core/InterfaceTable.h"

namespace kuvell {

struct MonitorSetup
{
    std::shared_ptr<IfTableSource> tableSource;  // null: no statistics, no ticks
    std::string todayLongDate;                   // the first start's date, if it is one
    std::string decimalSeparator = ".";          // of the user's numbers
    // The notification area reports single activations only (no double-click).
    bool singleActivationToggles = false;
    int doubleClickMilliseconds = 400;
    // A termination request came while start-up ran, before the event loop could
    // deliver it: start-up stops, writes nothing more and ends as any other close.
    std::function<bool()> terminationRequested;
};

class MonitorPresenter
{
  public:
    MonitorPresenter(ProgramVariables& vars, KeyValueStore& store, MonitorView& view,
                     MonitorSetup setup);

    // Loads the settings, places and lays out the window, creates the
    // statistics and the tray icon, then shows the window. Every step is
    // guarded: one that fails is noted and the next runs. A termination
    // requested while the store is read ends Kuvell instead.
    void startUp();

    // One second: a snapshot, the rates and totals, the line, the tray icon
    // and the graph. A tick while an earlier one still runs (its message
    // open), during the quit or after the end does nothing.
    void tick();

    // advance: the graph's history moves on by the last tick's amounts first;
    // otherwise it is only painted again (after a resize or a new colour).
    // Nothing is painted while the user has hidden the window.
    void drawGraph(bool advance);

    // The window has a new outer size, or a new display scale: held within its
    // bounds, then laid out (anew from the design when the scale changed).
    void resized(PixelSize size);
    // The graph's clear colour (0x00BBGGRR); the graph is cleared to it.
    void setGraphBackground(int32_t bgr);

    // The tray icon was clicked; nowMilliseconds from a monotonic clock.
    void trayClicked(TrayClick click, int64_t nowMilliseconds);

    // The tray menu opens: the interfaces of this moment to choose from.
    const std::vector<InterfaceMenuEntry>& openInterfaceMenu();
    // An entry of the last menu opened was chosen: from the next tick on that
    // interface is measured (its first counters only the baseline), and the
    // choice is stored at once; the automatic entry removes it from the store.
    void interfaceMenuChosen(std::size_t entry);

    // "Avsluta": the totals and placement saved as one batch, the tray icon
    // removed, a failed save reported; the program ends with 0, or 1 when
    // nothing was saved.
    void quit();
    // Every other end (a close, a termination signal, the session ending):
    // the tray icon goes and nothing is saved.
    void endWithoutSaving();

    bool hiddenByUser() const { return hiddenByUser_; }
    bool ended() const { return ended_; }
    const RateHistories& histories() const { return histories_; }
    const TrafficTick& trafficTick() const { return tick_; }
    const MainControls& controls() const { return controls_; }

  private:
    void placeOnScreen(WindowPlacement placement);
    void layOut(PixelSize windowSize);
    void showTray(int picture, const std::string& tip);
    std::string measuredName() const;
    void removeTray();
    void end(int status);

    ProgramVariables& vars_;
    KeyValueStore& store_;
    MonitorView& view_;
    MonitorSetup setup_;
    TrayActivations trayClicks_;
    std::unique_ptr<InterfaceTable> interfaceTable_;
    std::string chosenInterface_;  // empty: the automatic rule
    std::vector<InterfaceMenuEntry> interfaceMenu_;
    TrafficTick tick_;
    RateHistories histories_;
    int layoutDpi_ = kBaseDpi;  // the scale controls_ and graphBuffer_ are laid out at
    MainControls controls_ = initialMainControls(layoutDpi_);
    GraphBuffer graphBuffer_{controls_.graphBuffer.width, controls_.graphBuffer.height};
    PixelImage graph_;
    // What the tray icon shows, while it is there.
    bool trayShown_ = false;
    int trayPicture_ = 0;
    std::string trayTip_;
    bool hiddenByUser_ = false;
    bool sampling_ = false;
    bool quitting_ = false;
    bool ended_ = false;
};

// The tray picture and tooltip that start-up shows before the first tick.
inline constexpr int kStartupTrayPicture = 4;
inline constexpr std::string_view kProgramName = "Kuvell";

}  // namespace kuvell
