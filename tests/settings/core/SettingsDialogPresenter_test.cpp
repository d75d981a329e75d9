// SPDX-License-Identifier: MIT
// The settings dialog's rules against fake controls and a fake main window.
#include "settings/core/SettingsDialogPresenter.h"

#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "settings/core/DialogControls.h"
#include "support/MemoryStore.h"

namespace kuvell {
namespace {

using testsupport::MemoryStore;

struct FakeMain : MainWindowControl, StartAtLogin
{
    void setOpacity(int16_t alpha) override { calls.push_back("opacity " + std::to_string(alpha)); }
    void setGraphBackground(int32_t) override { calls.push_back("background"); }
    void nudgeSize() override { calls.push_back("nudge"); }
    void setTopMost(bool onTop) override { calls.push_back(onTop ? "on top" : "not on top"); }
    void showMessage(std::string_view text) override { calls.push_back(std::string(text)); }
    Result enable() override { return loginEntry(); }
    Result disable() override { return loginEntry(); }
    Result loginEntry() const
    {
        return loginEntryWorks ? Result::success() : Result::failure("no autostart folder");
    }

    std::vector<std::string> calls;
    bool loginEntryWorks = true;
};

struct FakeDialog : SettingsDialogView
{
    void setGraphOnlyTicked(bool ticked) override { graphOnly = ticked; }
    bool graphOnlyTicked() const override { return graphOnly; }
    void setOnTopTicked(bool ticked) override { onTop = ticked; }
    bool onTopTicked() const override { return onTop; }
    void setStartAtLoginTicked(bool ticked) override { startAtLogin = ticked; }
    bool startAtLoginTicked() const override { return startAtLogin; }
    void selectTransparency(int index) override { transparency = index; }
    int selectedTransparency() const override { return transparency; }
    void setInstallDateText(std::string_view) override {}
    void setTotalsTexts(std::string_view, std::string_view) override {}
    void setSwatchColour(Swatch, int32_t) override {}
    void setSpeedText(std::string_view text) override { speed = text; }
    std::string speedText() const override { return speed; }
    void setMegabytesText(std::string_view) override {}
    void markSpeedInvalid(bool invalid) override { speedInvalid = invalid; }
    void restrictSpeedToDigits() override {}
    std::string decimalSeparator() const override { return "."; }
    void placeCentredOnTop() override {}
    void showPage(int) override {}
    void startSweep() override {}
    bool isShown() const override { return true; }
    void drawBannerRowFrom(int x, int y) override { lastStep = {x, y}; }
    void showWholeBanner() override { wholeBanner = true; }
    std::optional<int32_t> chooseColour(int32_t) override { return std::nullopt; }
    void closeAccepted() override { closed = true; }

    bool graphOnly = false, onTop = false, startAtLogin = false, speedInvalid = false;
    bool closed = false, wholeBanner = false;
    int transparency = -1;
    std::string speed;
    std::pair<int, int> lastStep;
};

class DialogPresenter : public ::testing::Test
{
  protected:
    // Loaded, and what the load itself did forgotten.
    void loaded()
    {
        presenter.load();
        main.calls.clear();
        store.batches.clear();
    }

    ProgramVariables vars;
    MemoryStore store;
    FakeMain main;
    FakeDialog dialog;
    SettingsDialogPresenter presenter{vars, store, main, main, dialog};
};

TEST_F(DialogPresenter, OkRefusesASpeedThatCannotBeReadBackAndAppliesNothing)
{
    loaded();
    for (const char* typed : {"", "99999999999"}) {
        dialog.speed = typed;
        presenter.okClicked();
        EXPECT_TRUE(dialog.speedInvalid) << typed;
    }
    EXPECT_FALSE(dialog.closed);
    EXPECT_TRUE(store.batches.empty());
    EXPECT_TRUE(main.calls.empty());
    presenter.speedEdited();
    EXPECT_FALSE(dialog.speedInvalid);
}

TEST_F(DialogPresenter, OkAppliesThenStoresOneBatchInItsOrder)
{
    vars.onTop = true;
    loaded();
    dialog.graphOnly = true;
    dialog.onTop = false;
    dialog.speed = "0056000";
    presenter.okClicked();
    EXPECT_EQ(main.calls, (std::vector<std::string>{"nudge", "not on top"}));
    EXPECT_EQ(vars.connectionSpeed, 56000);
    EXPECT_EQ(vars.extraGraphHeight, kGraphOnlyExtraHeight);
    ASSERT_EQ(store.batches.size(), 1u);
    std::vector<std::string> stored;
    for (const StoreChange& change : store.batches[0]) {
        stored.push_back(std::string(change.key.name) + "=" + change.text);
    }
    EXPECT_EQ(stored, (std::vector<std::string>{"autostart=0", "graphics=1",
                                                "connectionspeed=0056000", "ontop=false"}));
    EXPECT_TRUE(dialog.closed);
}

TEST_F(DialogPresenter, LoadReappliesTheStoredLevelAndALoginEntryThatFailsUnticks)
{
    store.texts[{"options", "visibility"}] = "4";
    store.texts[{"setting", "autostart"}] = "1";
    main.loginEntryWorks = false;
    store.failure = "read-only";  // the level's re-store fails: not the user's choice, no message
    presenter.load();
    EXPECT_EQ(main.calls, (std::vector<std::string>{"opacity 128"}));
    EXPECT_EQ(dialog.transparency, 4);
    EXPECT_FALSE(dialog.startAtLogin);

    presenter.transparencyChosen(true);  // the user's pick: the failure is shown
    EXPECT_EQ(main.calls.back(), "The transparency could not be saved to memory:\nread-only.");
}

TEST_F(DialogPresenter, ASweepCoversEveryColumnAndStartsOverOnAPageChoice)
{
    presenter.pageChosen(2);
    for (int step = 0; step < 1000; ++step) ASSERT_TRUE(presenter.sweepStep());
    presenter.pageChosen(3);
    ASSERT_TRUE(presenter.sweepStep());
    EXPECT_EQ(dialog.lastStep, std::make_pair(1, 1));
    int steps = 2;  // the one above, and the last, which ends the sweep
    while (presenter.sweepStep()) ++steps;
    EXPECT_EQ(steps, kBannerDrawableWidth * kBannerDrawableHeight);
    EXPECT_EQ(dialog.lastStep, std::make_pair(kBannerDrawableWidth, kBannerDrawableHeight));
    EXPECT_TRUE(dialog.wholeBanner);
}

// A frontend builds the controls in table order: each container must come
// before what it holds, and every name the presenter's controls go by be there once.
TEST(DialogControlTable, ContainersComeFirstAndEveryNameIsThereOnce)
{
    std::map<std::string_view, int> seen;
    for (const DialogControl& control : dialogControls()) {
        EXPECT_TRUE(control.container.empty() || seen.contains(control.container)) << control.name;
        EXPECT_EQ(++seen[control.name], 1) << control.name;
    }
    for (const auto names : {std::span<const std::string_view>(kPageNames),
                             std::span<const std::string_view>(kPageButtonNames),
                             std::span<const std::string_view>(kSwatchNames)}) {
        for (const std::string_view name : names) EXPECT_TRUE(seen.contains(name)) << name;
    }
}

}  // namespace
}  // namespace kuvell
