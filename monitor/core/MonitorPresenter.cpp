// SPDX-License-Identifier: MIT
#include "monitor/core/MonitorPresenter.h"

#include <exception>
#include <string_view>
#include <utility>

#include "platform/core/Twips.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/TextConversions.h"

namespace kuvell {

namespace {

// Start-up skips a step that fails and goes on with the next one: the window
// still starts, and the failed step leaves its defaults.
template <typename Step>
void guarded(MonitorView& view, Step&& step) noexcept
{
    try {
        step();
    } catch (const std::exception& error) {
        view.logNote(std::string("a start-up step failed: ") + error.what());
    }
}

std::string twipsText(int pixels, int dpi) { return integerToText(pixelsToTwips(pixels, dpi)); }

}  // namespace

MonitorPresenter::MonitorPresenter(ProgramVariables& vars, KeyValueStore& store, MonitorView& view,
                                   MonitorSetup setup)
    : vars_(vars),
      store_(store),
      view_(view),
      setup_(std::move(setup)),
      trayClicks_(setup_.singleActivationToggles, setup_.doubleClickMilliseconds)
{
}

void MonitorPresenter::startUp()
{
    StartupSettings startup;
    guarded(view_, [&] {
        startup =
            loadStartupSettings(store_, vars_, setup_.todayLongDate, setup_.terminationRequested);
    });
    if (setup_.terminationRequested && setup_.terminationRequested()) {
        endWithoutSaving();
        return;
    }
    guarded(view_, [&] {
        if (startup.transparencyLevel) {
            if (const auto alpha = transparencyAlpha(*startup.transparencyLevel)) {
                view_.setOpacity(*alpha);
            }
        }
    });
    guarded(view_, [&] { graphBuffer_.setBackground(vars_.backgroundColour); });
    guarded(view_, [&] { view_.applySizeBounds(); });
    guarded(view_, [&] { placeOnScreen(startup.placement); });
    guarded(view_, [&] { resized(view_.windowSize()); });
    guarded(view_, [&] {
        if (setup_.tableSource) {
            interfaceTable_ = std::make_unique<InterfaceTable>(
                setup_.tableSource, [this](std::string_view text) { view_.showMessage(text); });
            interfaceTable_->chooseInterface(startup.interfaceChoice);
        }
        chosenInterface_ = startup.interfaceChoice;
    });
    guarded(view_, [&] {
        tick_ = TrafficTick(jumpLimitFromText(startup.jumpLimitText).value_or(kDefaultJumpLimit));
    });
    guarded(view_, [&] {
        view_.addTrayIcon(kStartupTrayPicture, kProgramName);
        trayShown_ = true;
        trayPicture_ = kStartupTrayPicture;
        trayTip_ = kProgramName;
    });
    view_.showWindow(false);
}

// A stored position that no screen shows (a monitor unplugged since, a
// hand-edited value) would open the window where no one can reach it; one that
// shows is kept to the pixel.
void MonitorPresenter::placeOnScreen(WindowPlacement at)
{
    const int dpi = view_.displayDpi();
    // The size the window will have once its bounds apply.
    const WindowSize size =
        clampWindowSize({twipsToPixels(at.width, dpi), twipsToPixels(at.height, dpi)}, dpi);
    const PixelRect stored{twipsToPixels(at.left, dpi), twipsToPixels(at.top, dpi), size.cx,
                           size.cy};
    const PixelRect shown = keepReachable(stored, view_.screenAreas());
    if (shown != stored) {
        view_.logNote("the stored position " + integerToText(stored.x) + "," +
                      integerToText(stored.y) + " lies off every screen; the window opens at " +
                      integerToText(shown.x) + "," + integerToText(shown.y));
        at.left = static_cast<int32_t>(pixelsToTwips(shown.x, dpi));
        at.top = static_cast<int32_t>(pixelsToTwips(shown.y, dpi));
    }
    view_.placeWindow(at, vars_.onTop);
}

void MonitorPresenter::tick()
{
    if (sampling_ || quitting_ || ended_ || !interfaceTable_) {
        return;
    }
    struct Running
    {
        bool& flag;
        explicit Running(bool& running) : flag(running) { flag = true; }
        ~Running() { flag = false; }
    } running(sampling_);
    interfaceTable_->interfaces();  // only for the snapshot it takes
    const TickTexts texts = tick_.sample(interfaceTable_->counters(), vars_.downloadTotal,
                                         vars_.uploadTotal, setup_.decimalSeparator);
    view_.showRates(texts.label);
    showTray(texts.trayImage.value_or(trayPicture_), tipNaming(tipText(texts.tip), measuredName()));
    drawGraph(true);
}

std::string MonitorPresenter::measuredName() const
{
    if (interfaceTable_->counters().from) {
        return interfaceTable_->counters().shownAs;
    }
    return chosenInterface_.empty() ? std::string() : chosenInterface_ + " saknas";
}

const std::vector<InterfaceMenuEntry>& MonitorPresenter::openInterfaceMenu()
{
    const std::vector<uint8_t> table =
        interfaceTable_ ? interfaceTable_->tableNow() : std::vector<uint8_t>();
    interfaceMenu_ = interfaceMenu(IfTableView(table), chosenInterface_);
    return interfaceMenu_;
}

void MonitorPresenter::interfaceMenuChosen(std::size_t entry)
{
    if (ended_ || quitting_ || entry >= interfaceMenu_.size() || !interfaceMenu_[entry].choice ||
        *interfaceMenu_[entry].choice == chosenInterface_) {
        return;
    }
    chosenInterface_ = *interfaceMenu_[entry].choice;
    if (interfaceTable_) {
        interfaceTable_->chooseInterface(chosenInterface_);
    }
    const Result saved = chosenInterface_.empty()
                             ? store_.removeText(settingkeys::measuredInterface.name)
                             : writeText(store_, settingkeys::measuredInterface, chosenInterface_);
    if (!saved) {
        // Measured as chosen all the same, until Kuvell ends.
        view_.showMessage("The chosen interface could not be saved to " + store_.location() +
                          ":\n" + saved.reason + ".");
    }
}

// Every update makes a StatusNotifierItem host read the icon again: only a
// picture or tooltip that changed is passed on.
void MonitorPresenter::showTray(int picture, const std::string& tip)
{
    if (!trayShown_) {
        return;
    }
    std::optional<int> newPicture;
    if (picture != trayPicture_) {
        trayPicture_ = picture;
        newPicture = picture;
    }
    std::optional<std::string_view> newTip;
    if (tip != trayTip_) {
        trayTip_ = tip;
        newTip = trayTip_;
    }
    if (newPicture || newTip) {
        view_.updateTrayIcon(newPicture, newTip);
    }
}

void MonitorPresenter::resized(PixelSize size)
{
    const WindowSize bounded = clampWindowSize({size.width, size.height}, view_.displayDpi());
    const PixelSize within{bounded.cx, bounded.cy};
    if (within != size) {
        view_.resizeWindow(within);
    }
    layOut(within);
}

void MonitorPresenter::layOut(PixelSize windowSize)
{
    // What the layout leaves alone was measured at the old scale: start from the design.
    if (const int dpi = view_.displayDpi(); dpi != layoutDpi_) {
        layoutDpi_ = dpi;
        controls_ = initialMainControls(dpi);
    }
    controls_ = layOutMainControls(controls_, windowSize, vars_.extraGraphHeight, layoutDpi_);
    graphBuffer_.setOuterSize(controls_.graphBuffer.width, controls_.graphBuffer.height,
                              layoutDpi_);
    const PixelSize graphSize{controls_.graph.width, controls_.graph.height};
    if (graph_.size() != graphSize) {
        graph_.resize(graphSize.width, graphSize.height, rgbFromBgr(kDesignBackground));
    }
    view_.placeControls(controls_, graph_);
    drawGraph(false);
}

void MonitorPresenter::setGraphBackground(int32_t bgr) { graphBuffer_.setBackground(bgr); }

void MonitorPresenter::drawGraph(bool advance)
{
    if (advance) {
        histories_.advance(tick_.downloadDelta(), tick_.uploadDelta());
    }
    // A window the user hid still samples, so the totals and the graph's
    // history go on; it is painted again once it shows.
    if (!hiddenByUser_) {
        view_.showGraphChange(graphBuffer_.paintFrame(histories_, graphScale(vars_.connectionSpeed),
                                                      vars_.downloadColour, vars_.uploadColour,
                                                      graph_));
    }
}

void MonitorPresenter::trayClicked(TrayClick click, int64_t nowMilliseconds)
{
    if (!trayClicks_.toggles(click, nowMilliseconds) || ended_) {
        return;
    }
    if (view_.isWindowVisible()) {
        hiddenByUser_ = true;
        view_.hideWindow();
    } else {
        view_.showWindow(true);
        hiddenByUser_ = false;
    }
}

void MonitorPresenter::quit()
{
    if (ended_ || quitting_) {
        return;
    }
    // No tick changes the totals, and no second quit starts, while a message is open.
    quitting_ = true;
    view_.stopTicks();
    namespace keys = settingkeys;
    // The placement as it is now, also while the window is hidden.
    const PixelRect outer = view_.outerRect();
    const int dpi = view_.displayDpi();
    // One batch: with an atomic store, whenever Kuvell dies all six values or none have landed.
    const StoreChange changes[] = {
        changeOf(keys::downloadTotal, integerToText(vars_.downloadTotal)),
        changeOf(keys::uploadTotal, integerToText(vars_.uploadTotal)),
        changeOf(keys::windowLeft, twipsText(outer.x, dpi)),
        changeOf(keys::windowTop, twipsText(outer.y, dpi)),
        changeOf(keys::windowWidth, twipsText(outer.width, dpi)),
        changeOf(keys::windowHeight, twipsText(outer.height, dpi)),
    };
    const Result saved = store_.writeTexts(changes);
    removeTray();
    if (!saved) {
        view_.logNote("the totals and the window placement were not saved to " + store_.location());
        view_.showMessage("The totals and the window placement could not be saved to " +
                          store_.location() + ":\n" + saved.reason + ".");
    }
    if (!ended_) {  // a termination signal may have ended Kuvell while the message was open
        end(saved ? 0 : 1);
    }
}

void MonitorPresenter::endWithoutSaving()
{
    if (ended_) {
        return;
    }
    removeTray();
    end(0);
}

void MonitorPresenter::removeTray()
{
    trayShown_ = false;
    view_.removeTrayIcon();
}

void MonitorPresenter::end(int status)
{
    ended_ = true;
    view_.stopTicks();
    view_.hideWindow();
    view_.exitProgram(status);
}

}  // namespace kuvell
