// SPDX-License-Identifier: MIT
// The monitor's rules against a fake window: the order of start-up, the tick's
// guards and the hidden-window rule, the quit's batch and exit status.
#include "monitor/core/MonitorPresenter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/MemoryStore.h"
#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::MemoryStore;

class FakeView : public MonitorView
{
  public:
    void setOpacity(int16_t alpha) override { record("opacity " + std::to_string(alpha)); }
    void setGraphBackground(int32_t) override { record("background"); }
    void applySizeBounds() override { record("bounds"); }
    std::vector<PixelRect> screenAreas() const override { return {{0, 0, 1280, 800}}; }
    void placeWindow(const WindowPlacement& at, bool onTop) override
    {
        record("place " + std::to_string(at.left) + "," + std::to_string(at.top) +
               (onTop ? " on top" : ""));
    }
    void layOut() override
    {
        record("layout");
        if (layoutFails) throw std::runtime_error("no layout");
    }
    void addTrayIcon(int picture, std::string_view) override
    {
        record("tray " + std::to_string(picture));
    }
    void showRates(std::string_view line, std::optional<int>, std::string_view) override
    {
        record(std::string(line));
    }
    void paintGraph() override { record("paint"); }
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
    PixelRect outerRect() const override { return {10, 20, 310, 164}; }
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
    bool visible = false;
    bool layoutFails = false;
    std::function<void()> duringMessage;
};

struct OneRowTable : testsupport::ScriptedTableSource
{
    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        table = testsupport::oneRowTable(received, 0);
        return ScriptedTableSource::getIfTable(buffer, size, sort);
    }
    uint32_t received = 0;
};

class Presenter : public ::testing::Test
{
  protected:
    MonitorPresenter& started()
    {
        presenter = std::make_unique<MonitorPresenter>(
            vars, store, view, MonitorSetup{table, "today", ".", false, 400, {}});
        presenter->startUp();
        view.calls.clear();
        return *presenter;
    }

    ProgramVariables vars;
    MemoryStore store;
    FakeView view;
    std::shared_ptr<OneRowTable> table = std::make_shared<OneRowTable>();
    std::unique_ptr<MonitorPresenter> presenter;
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
        "background",
        "bounds",
        "note the stored position 143165576,0 lies off every screen; the window opens at 970,0",
        "place 14550,0 on top",
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

}  // namespace
}  // namespace kuvell
