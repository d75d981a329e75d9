// SPDX-License-Identifier: MIT
// The monitor's rules against a fake window: the order of start-up, the tick's
// guards and the hidden-window rule, the quit's batch and exit status.
#include "monitor/core/MonitorPresenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/Twips.h"
#include "support/MemoryStore.h"
#include "support/OneRowTable.h"
#include "support/PixelCount.h"
#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::MemoryStore;

class FakeView : public MonitorView
{
  public:
    void setOpacity(int16_t alpha) override { record("opacity " + std::to_string(alpha)); }
    void applySizeBounds() override { record("bounds"); }
    std::vector<PixelRect> screenAreas() const override { return {{0, 0, 1280, 800}}; }
    int displayDpi() const override { return dpi; }
    void placeWindow(const WindowPlacement& at, bool onTop) override
    {
        record("place " + std::to_string(at.left) + "," + std::to_string(at.top) + " " +
               std::to_string(at.width) + "x" + std::to_string(at.height) +
               (onTop ? " on top" : ""));
        size = {twipsToPixels(at.width, dpi), twipsToPixels(at.height, dpi)};
    }
    PixelSize windowSize() const override { return size; }
    void resizeWindow(PixelSize to) override
    {
        record("resize " + std::to_string(to.width) + "x" + std::to_string(to.height));
        size = to;
    }
    void placeControls(const MainControls& placed, const PixelImage& image) override
    {
        record("layout");
        if (layoutFails) throw std::runtime_error("no layout");
        controls = placed;
        graph = &image;
    }
    void addTrayIcon(int picture, std::string_view tip) override
    {
        record("tray " + std::to_string(picture));
        trayUpdates.push_back(std::to_string(picture) + " " + std::string(tip));
    }
    void showRates(std::string_view line) override { record(std::string(line)); }
    void updateTrayIcon(std::optional<int> picture, std::optional<std::string_view> tip) override
    {
        trayUpdates.push_back((picture ? std::to_string(*picture) : "-") + " " +
                              (tip ? std::string(*tip) : "-"));
    }
    void showGraphChange(const PixelRect&) override { record("paint"); }
    bool isWindowVisible() const override { return visible; }
    void showWindow(bool) override
    {
        visible = true;
        record("show");
    }
    void hideWindow() override
    {
        visible = false;
        record("hide");
    }
    PixelRect outerRect() const override { return outer; }
    void stopTicks() override { record("stop"); }
    void removeTrayIcon() override { record("untray"); }
    void showMessage(std::string_view text) override
    {
        record("message " + std::string(text));
        if (duringMessage) duringMessage();
    }
    void exitProgram(int status) override { record("exit " + std::to_string(status)); }
    void logNote(std::string_view text) override { record("note " + std::string(text)); }

    void record(std::string call) { calls.push_back(std::move(call)); }

    std::vector<std::string> calls;
    std::vector<std::string> trayUpdates;  // "picture tip", "-" for what stays
    PixelSize size;
    int dpi = kBaseDpi;
    PixelRect outer{10, 20, 310, 164};
    MainControls controls;
    const PixelImage* graph = nullptr;
    bool visible = false;
    bool layoutFails = false;
    std::function<void()> duringMessage;
};

constexpr uint32_t kDefaultBackground = 0xFF49AABE;
constexpr uint32_t kRed = 0xFFFF0000;

class Presenter : public ::testing::Test
{
  protected:
    MonitorPresenter& started()
    {
        presenter = std::make_unique<MonitorPresenter>(
            vars, store, view,
            MonitorSetup{table, "today", ".", false, 400, [this] { return terminating; }});
        presenter->startUp();
        view.calls.clear();
        return *presenter;
    }

    // Started, and its first tick taken: that tick only sets the counters' baseline.
    MonitorPresenter& measuring()
    {
        started().tick();
        view.calls.clear();
        view.trayUpdates.clear();
        return *presenter;
    }

    const PixelImage& graph() const { return *view.graph; }

    ProgramVariables vars;
    MemoryStore store;
    FakeView view;
    std::shared_ptr<testsupport::OneRowTable> table = std::make_shared<testsupport::OneRowTable>();
    std::unique_ptr<MonitorPresenter> presenter;
    bool terminating = false;
};

TEST_F(Presenter, StartUpRunsItsStepsInOrderAndGoesOnAfterOneFails)
{
    store.texts[{"options", "visibility"}] = "4";
    store.texts[{"setting", "windowsposx"}] = "2147483647";  // off every screen
    view.layoutFails = true;
    MonitorPresenter monitor(vars, store, view, MonitorSetup{table, "today", ".", false, 400, {}});
    monitor.startUp();
    const std::vector<std::string> expected = {
        "opacity 128",
        "bounds",
        "note the stored position 143165576,0 lies off every screen; the window opens at 970,0",
        "place 14550,0 4650x2460 on top",
        "layout",
        "note a start-up step failed: no layout",
        "tray 4",
        "show"};
    EXPECT_EQ(view.calls, expected);
}

TEST_F(Presenter, AHiddenWindowSamplesButIsNotPaintedUntilItShows)
{
    MonitorPresenter& monitor = started();
    monitor.tick();  // the baseline
    view.calls.clear();
    view.visible = true;
    monitor.trayClicked(TrayClick::Double, 1000);
    table->received = 10240;
    monitor.tick();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"hide", "DL: 10 kb/s - UL: 0 kb/s"}));
    EXPECT_DOUBLE_EQ(monitor.histories().downloadHistory[1], 10.0);
    EXPECT_EQ(vars.downloadTotal, 1 + 10240);

    monitor.trayClicked(TrayClick::Double, 2000);
    monitor.tick();
    EXPECT_EQ(view.calls.back(), "paint");
    EXPECT_FALSE(monitor.hiddenByUser());
}

TEST_F(Presenter, AFailedQuitReportsAndEndsWithOneAndNothingRunsAfterTheEnd)
{
    MonitorPresenter& monitor = started();
    store.failure = "disk full";
    // A tick and a second quit while the message is open change nothing.
    view.duringMessage = [&] {
        monitor.tick();
        monitor.quit();
    };
    monitor.quit();
    const std::vector<std::string> expected = {
        "stop",
        "untray",
        "note the totals and the window placement were not saved to memory",
        "message The totals and the window placement could not be saved to memory:\ndisk full.",
        "stop",
        "hide",
        "exit 1"};
    EXPECT_EQ(view.calls, expected);
    ASSERT_EQ(store.batches.size(), 2u);  // start-up's date, then the quit's one batch
    const std::vector<StoreChange>& batch = store.batches[1];
    ASSERT_EQ(batch.size(), 6u);
    EXPECT_EQ(batch[2].text, "150");   // the left edge in twips
    EXPECT_EQ(batch[5].text, "2460");  // the outer height
    view.calls.clear();
    monitor.endWithoutSaving();
    monitor.tick();
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(Presenter, TheOtherEndSavesNothing)
{
    MonitorPresenter& monitor = started();
    monitor.endWithoutSaving();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"untray", "stop", "hide", "exit 0"}));
    EXPECT_EQ(store.batches.size(), 1u);  // start-up's date alone
}

TEST_F(Presenter, TheStoredPlacementBandTransparencyAndSizeBoundsApplyAtStartUp)
{
    store.texts[{"setting", "ontop"}] = "false";
    store.texts[{"setting", "windowsposx"}] = "1500";
    store.texts[{"setting", "windowsposy"}] = "-752";
    store.texts[{"setting", "windowswidth"}] = "3007";
    store.texts[{"setting", "windowsheight"}] = "1500";
    store.texts[{"options", "visibility"}] = "0";
    started();
    EXPECT_EQ(view.calls, std::vector<std::string>{});
    MonitorPresenter first(vars, store, view, MonitorSetup{table, "today", ".", false, 400, {}});
    first.startUp();
    EXPECT_EQ(view.calls.at(0), "opacity 26");
    EXPECT_EQ(view.calls.at(2), "place 1500,-752 3007x1500");
    EXPECT_EQ(view.calls.at(3), "layout");  // already within the bounds

    // 9000 twips would be 600 pixels; an unreadable height leaves 0, raised to
    // 10. A level outside the list applies no transparency.
    store.texts[{"setting", "windowswidth"}] = "9000";
    store.texts[{"setting", "windowsheight"}] = "tall";
    store.texts[{"setting", "windowsposy"}] = "0";
    store.texts[{"setting", "ontop"}] = "true";
    store.texts[{"options", "visibility"}] = "10";
    view.calls.clear();
    MonitorPresenter second(vars, store, view, MonitorSetup{table, "today", ".", false, 400, {}});
    second.startUp();
    const std::vector<std::string> expected = {
        "bounds", "place 1500,0 9000x0 on top", "resize 310x10", "layout", "paint", "tray 4",
        "show"};
    EXPECT_EQ(view.calls, expected);
}

TEST_F(Presenter, ATickShowsTheLineTheTrayAndTheGraphPassingOnOnlyWhatChanged)
{
    MonitorPresenter& monitor = started();
    EXPECT_EQ(view.trayUpdates, std::vector<std::string>{"4 Kuvell"});
    // Laid out for 4650 x 2460 twips, the empty graph in the stored background.
    ASSERT_EQ(graph().size(), (PixelSize{300, 140}));
    EXPECT_EQ(testsupport::countPixels(graph(), kDefaultBackground), 300 * 140);
    EXPECT_EQ(view.controls.rateLabel.width, 301);
    EXPECT_EQ(view.controls.rateLabelFontPoints, 10);
    EXPECT_EQ(table->calls, 0);  // start-up takes no sample

    monitor.tick();  // the baseline
    for (int tick = 0; tick < 4; ++tick) monitor.tick();
    table->received = 10240;
    table->sent = 2048;
    monitor.tick();
    EXPECT_EQ(view.calls.back(), "paint");
    EXPECT_EQ(view.calls.at(view.calls.size() - 2), "DL: 10 kb/s - UL: 2 kb/s");
    EXPECT_EQ(vars.downloadTotal, 1 + 10240);
    EXPECT_EQ(vars.uploadTotal, 1 + 2048);

    // Display 140 rows, buffer area 136, scale 133: the download bar runs from
    // 140 - 140 * 10 / 133 = 129.47 down; the upload bar (137.9) falls below the buffer.
    for (int row = 0; row < 140; ++row) {
        const uint32_t expected = row >= 129 && row <= 135 ? kRed : kDefaultBackground;
        ASSERT_EQ(graph().pixel(299, row), expected) << "row " << row;
    }
    EXPECT_EQ(testsupport::countPixels(graph(), kRed), 7);

    // A repaint uses the colours, scale and background of now, and moves nothing on.
    vars.downloadColour = 0xFF0000;  // blue
    vars.connectionSpeed = 1076923;  // scale 140: 10 kB reach row 130
    monitor.setGraphBackground(0x000000);
    monitor.drawGraph(false);
    EXPECT_EQ(graph().pixel(299, 130), 0xFF0000FFu);
    EXPECT_EQ(graph().pixel(299, 129), 0xFF000000u);
    EXPECT_EQ(testsupport::countPixels(graph(), 0xFF0000FFu), 6);
    vars.connectionSpeed = 0;  // no scale: no bars, no division by zero
    monitor.drawGraph(false);
    EXPECT_EQ(testsupport::countPixels(graph(), 0xFF000000u), 300 * 140);
    EXPECT_DOUBLE_EQ(monitor.histories().downloadHistory[1], 10.0);

    // Of the tray, only what changed is passed on: the quiet ticks changed the
    // tooltip and picture once, more traffic of both kinds only the tooltip.
    table->received += 20480;
    table->sent += 4096;
    monitor.tick();
    monitor.tick();
    const std::vector<std::string> tray = {
        "4 Kuvell", "1 Kuvell - DL: 0 kb/s - UL: 0 kb/s", "4 Kuvell - DL: 10 kb/s - UL: 2 kb/s",
        "- Kuvell - DL: 20 kb/s - UL: 4 kb/s", "1 Kuvell - DL: 0 kb/s - UL: 0 kb/s"};
    EXPECT_EQ(view.trayUpdates, tray);
}

TEST_F(Presenter, TheStoredInterfaceAndJumpLimitDecideWhatTicksMeasure)
{
    store.texts[{"options", "interface"}] = "wlan0";
    store.texts[{"options", "jumplimit"}] = "5000000";
    MonitorPresenter& monitor = started();
    const auto line = [&] { return view.calls.at(view.calls.size() - 2); };
    table->received = 1'024'000;
    monitor.tick();
    EXPECT_EQ(line(), "DL: 0 kb/s - UL: 0 kb/s") << "wlan0 is not there";
    table->name = "wlan0";
    monitor.tick();
    EXPECT_EQ(line(), "DL: 0 kb/s - UL: 0 kb/s")
        << "the counters of an interface that appears are only the baseline";
    EXPECT_EQ(vars.downloadTotal, 1);
    table->received += 1'024'000;
    monitor.tick();
    EXPECT_EQ(line(), "DL: 1000 kb/s - UL: 0 kb/s");
    table->received += 5'000'001;
    monitor.tick();
    EXPECT_EQ(line(), "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(vars.downloadTotal, 1 + 1'024'000);
    EXPECT_EQ(store.batches.size(), 1u);  // start-up's date alone
}

// eth0 carries the traffic; veth1, last with an address, is what the rule measures.
struct TwoInterfaces : testsupport::ScriptedTableSource
{
    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        testsupport::TestTable rows;
        rows.addRow().name("eth0").index(2).physAddr({2}).inOctets(ethReceived).put32(544, 5);
        rows.addRow().name("veth1").index(3).physAddr({3}).descr("bridge port\0", 12);
        table = rows.bytes();
        return ScriptedTableSource::getIfTable(buffer, size, sort);
    }
    uint32_t ethReceived = 0;
};

TEST_F(Presenter, AnInterfaceChosenFromTheMenuIsStoredAndMeasuredFromAFreshBaseline)
{
    auto interfaces = std::make_shared<TwoInterfaces>();
    MonitorPresenter monitor(vars, store, view,
                             MonitorSetup{interfaces, "today", ".", false, 400, {}});
    monitor.startUp();
    const auto line = [&] { return view.calls.at(view.calls.size() - 2); };
    const auto tip = [&] { return view.trayUpdates.back().substr(2); };
    monitor.tick();
    interfaces->ethReceived = 1'000'000;  // traffic before the choice never counts
    monitor.tick();
    EXPECT_EQ(line(), "DL: 0 kb/s - UL: 0 kb/s");
    EXPECT_EQ(tip(), "Kuvell - DL: 0 kb/s - UL: 0 kb/s - bridge port");

    const std::vector<InterfaceMenuEntry>& menu = monitor.openInterfaceMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_TRUE(menu[0].ticked);
    EXPECT_EQ(menu[1].caption, "eth0 – uppe");
    EXPECT_EQ(menu[2].caption, "bridge port (veth1) – nere");
    const int32_t totalBefore = vars.downloadTotal;
    monitor.interfaceMenuChosen(1);
    EXPECT_EQ(store.at("options", "interface"), "eth0");
    EXPECT_TRUE(monitor.openInterfaceMenu()[1].ticked);
    monitor.tick();
    EXPECT_EQ(line(), "DL: 0 kb/s - UL: 0 kb/s") << "the switch itself is no traffic";
    EXPECT_EQ(tip(), "Kuvell - DL: 0 kb/s - UL: 0 kb/s - eth0");
    interfaces->ethReceived += 10240;
    monitor.tick();
    EXPECT_EQ(line(), "DL: 10 kb/s - UL: 0 kb/s");
    EXPECT_EQ(vars.downloadTotal, totalBefore + 10240);

    // The automatic entry removes the key and the rule measures again.
    monitor.openInterfaceMenu();
    monitor.interfaceMenuChosen(0);
    EXPECT_EQ(store.at("options", "interface"), "(absent)");
    ASSERT_EQ(store.removals.size(), 1u);
    EXPECT_EQ(store.removals[0], settingkeys::measuredInterface.name);
    monitor.tick();
    EXPECT_EQ(tip(), "Kuvell - DL: 0 kb/s - UL: 0 kb/s - bridge port");

    // Entries that cannot be chosen, or the choice there is, write nothing.
    const std::size_t writes = store.batches.size();
    monitor.interfaceMenuChosen(0);
    monitor.interfaceMenuChosen(99);
    EXPECT_EQ(store.batches.size(), writes);
    EXPECT_EQ(store.removals.size(), 1u);

    // A failed save is reported, and the choice holds until Kuvell ends.
    store.failure = "read-only file system";
    monitor.openInterfaceMenu();
    monitor.interfaceMenuChosen(1);
    EXPECT_EQ(view.calls.back(),
              "message The chosen interface could not be saved to memory:\nread-only file system.");
    monitor.tick();
    EXPECT_EQ(tip(), "Kuvell - DL: 0 kb/s - UL: 0 kb/s - eth0");
}

TEST_F(Presenter, AChosenInterfaceThatIsGoneIsNamedMissingInTheTooltip)
{
    store.texts[{"options", "interface"}] = "usb0";
    MonitorPresenter& monitor = started();
    monitor.tick();
    ASSERT_FALSE(view.trayUpdates.empty());
    EXPECT_EQ(view.trayUpdates.back(), "1 Kuvell - DL: 0 kb/s - UL: 0 kb/s - usb0 saknas");
    const std::vector<InterfaceMenuEntry>& menu = monitor.openInterfaceMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[2].caption, "usb0 – saknas");
    EXPECT_TRUE(menu[2].ticked);
}

TEST_F(Presenter, AMissingInterfaceTableShowsOneMessageATickAndSkipsTicksMeanwhile)
{
    MonitorPresenter& monitor = started();
    table->notSupported = true;
    int callsDuringMessage = -1;
    view.duringMessage = [&] {
        const int before = table->calls;
        monitor.tick();  // the timer firing while the message is open
        callsDuringMessage = table->calls - before;
    };
    monitor.tick();
    EXPECT_EQ(view.calls.at(0), "message IP HlpAPI is not supported by your system.");
    EXPECT_EQ(callsDuringMessage, 0);
    EXPECT_EQ(view.calls.at(1), "DL: 0 kb/s - UL: 0 kb/s");
    monitor.tick();
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(),
                         "message IP HlpAPI is not supported by your system."),
              2);
}

TEST_F(Presenter, EveryResizeIsBoundedAndLaysTheControlsOut)
{
    MonitorPresenter& monitor = started();
    const int labelTop = view.controls.rateLabel.y;
    const int graphHeight = graph().height();

    // 300 twips high: the graph keeps its height, the label moves to -70 twips.
    monitor.resized({310, 20});
    EXPECT_EQ(graph().height(), graphHeight);
    EXPECT_EQ(view.controls.rateLabel.y, labelTop - 144);  // 139 px up to -5 px
    // Only its part inside the sizing border shows.
    EXPECT_EQ(view.controls.rateLabelShown, (PixelRect{0, 5, 301, 12}));

    monitor.resized({140, 2000});
    EXPECT_EQ(graph().height(), 1976);                // (30000 - 360) / 15
    EXPECT_EQ(view.controls.rateLabelFontPoints, 8);  // 2100 twips wide
    // 2100 - 4660 twips = -170.67 pixels, inside the panel's 2-pixel border;
    // only what lies inside the panel's border shows.
    EXPECT_EQ(view.controls.graph.x, 2 - 171);
    EXPECT_EQ(view.controls.graphShown, (PixelRect{171, 1, 129, 1970}));
    monitor.resized({130, 2000});
    EXPECT_EQ(view.controls.rateLabelFontPoints, 6);  // 1950 twips wide

    view.calls.clear();
    monitor.resized({20000, 5});  // the program's own resizes are bounded too
    EXPECT_EQ(view.calls.at(0), "resize 310x10");
    EXPECT_EQ(view.controls.panel.height, 2);  // clear of the sizing border
}

TEST_F(Presenter, AtAHigherDisplayScaleThePlacementBoundsAndLayoutScaleWithIt)
{
    // 150 %: the stored twips go 10 to a pixel; the first start's default is 465 x 246.
    view.dpi = 144;
    MonitorPresenter& monitor = started();
    EXPECT_EQ(view.size, (PixelSize{465, 246}));
    EXPECT_EQ(graph().size(), (PixelSize{450, 210}));
    monitor.resized({1000, 5});
    EXPECT_EQ(view.size, (PixelSize{465, 15}));

    // Moved onto a 200 % monitor: laid out anew from the design at that scale.
    view.dpi = 192;
    monitor.resized({620, 328});
    EXPECT_EQ(graph().size(), (PixelSize{600, 280}));

    // The quit stores the placement at the scale it is shown at (7.5 twips a
    // pixel), so a next start there opens it on the same pixels.
    view.outer = {101, 33, 620, 328};
    monitor.quit();
    EXPECT_EQ(store.texts.at({"setting", "windowsposx"}), "758");  // 757.5
    EXPECT_EQ(store.texts.at({"setting", "windowsposy"}), "248");  // 247.5
    EXPECT_EQ(store.texts.at({"setting", "windowswidth"}), "4650");
    FakeView next;
    next.dpi = 192;
    MonitorPresenter again(vars, store, next, MonitorSetup{table, "today", ".", false, 400, {}});
    again.startUp();
    EXPECT_NE(std::find(next.calls.begin(), next.calls.end(), "place 758,248 4650x2460 on top"),
              next.calls.end());
    EXPECT_EQ(next.size, (PixelSize{620, 328}));
}

TEST_F(Presenter, ATerminationDuringStartUpEndsItBeforeAnythingIsWrittenOrShown)
{
    terminating = true;
    started();
    MonitorPresenter monitor(vars, store, view,
                             MonitorSetup{table, "today", ".", false, 400, [] { return true; }});
    monitor.startUp();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"untray", "stop", "hide", "exit 0"}));
    EXPECT_TRUE(store.batches.empty());
}

}  // namespace
}  // namespace kuvell
