// SPDX-License-Identifier: MIT
#pragma once
// The settings dialog's presenter over fakes: controls that remember what they
// were told, a main window and a login entry that record what was asked of
// them, and a store in memory.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/core/SettingsDialogPresenter.h"
#include "settings/core/StartupSettings.h"
#include "support/MemoryStore.h"

namespace kuvell::testsupport {

struct FakeMain : MainWindowControl, StartAtLogin
{
    void setOpacity(int16_t alpha) override { calls.push_back("opacity " + std::to_string(alpha)); }
    void setGraphBackground(int32_t bgr) override
    {
        calls.push_back("background " + std::to_string(bgr));
    }
    void nudgeSize() override { calls.push_back("nudge"); }
    void setTopMost(bool onTop) override { calls.push_back(onTop ? "on top" : "not on top"); }
    void showMessage(std::string_view text) override { calls.push_back(std::string(text)); }
    Result enable() override { return loginEntry("enable"); }
    Result disable() override { return loginEntry("disable"); }
    Result loginEntry(const char* what)
    {
        login.push_back(what);
        return loginEntryWorks ? Result::success() : Result::failure("no autostart folder");
    }

    std::vector<std::string> calls;
    std::vector<std::string> login;  // enable / disable, in order
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
    void setInstallDateText(std::string_view text) override { installDate = text; }
    void setTotalsTexts(std::string_view download, std::string_view upload) override
    {
        totals = {std::string(download), std::string(upload)};
    }
    void setSwatchColour(Swatch swatch, int32_t bgr) override
    {
        swatches[static_cast<std::size_t>(swatch)] = bgr;
    }
    void setSpeedText(std::string_view text) override { speed = text; }
    std::string speedText() const override { return speed; }
    void setMegabytesText(std::string_view text) override { megabytes = text; }
    void markSpeedInvalid(bool invalid) override { speedInvalid = invalid; }
    void restrictSpeedToDigits() override { digitsOnly = true; }
    std::string decimalSeparator() const override { return separator; }
    void placeCentredOnTop() override { centredOnTop = true; }
    void showPage(int index) override { page = index; }
    void startSweep() override { ++sweepsStarted; }
    bool isShown() const override { return shown; }
    void drawBannerRowFrom(int x, int y) override { steps.emplace_back(x, y); }
    void showWholeBanner() override { ++wholeBanners; }
    std::optional<int32_t> chooseColour(int32_t current) override
    {
        offeredColour = current;
        return picked;
    }
    void closeAccepted() override { closed = true; }

    bool graphOnly = false, onTop = false, startAtLogin = false, speedInvalid = false;
    bool digitsOnly = false, centredOnTop = false, closed = false, shown = true;
    int transparency = -1;
    int page = -1, sweepsStarted = 0, wholeBanners = 0;
    std::string speed, megabytes, installDate, separator = ".";
    std::pair<std::string, std::string> totals;
    std::array<std::optional<int32_t>, 3> swatches;  // download, upload, background
    std::vector<std::pair<int, int>> steps;          // every banner row drawn, as (x, y)
    std::optional<int32_t> picked;                   // the chooser's answer; nullopt: cancel
    std::optional<int32_t> offeredColour;
};

class DialogPresenterTest : public ::testing::Test
{
  protected:
    static constexpr const char* kToday = "2026年12月7日";

    // The program-wide values as start-up leaves them for the stored texts;
    // start-up's own write is its tests' business.
    void loadVariables()
    {
        vars = {};
        static_cast<void>(loadStartupSettings(store, vars, kToday));
        store.batches.clear();
    }

    // Start-up, then the dialog's load, and what the load did to the fakes forgotten.
    void loaded()
    {
        loadVariables();
        presenter.load();
        main.calls.clear();
        main.login.clear();
        store.batches.clear();
    }

    ProgramVariables vars;
    MemoryStore store;
    FakeMain main;
    FakeDialog dialog;
    SettingsDialogPresenter presenter{vars, store, main, main, dialog};
};

}  // namespace kuvell::testsupport
