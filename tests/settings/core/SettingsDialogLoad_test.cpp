// SPDX-License-Identifier: MIT
// Opening the settings dialog: what it shows and what the opening itself does.
#include <gtest/gtest.h>

#include "support/SettingsDialogFakes.h"

namespace kuvell {
using namespace testsupport;
namespace {

using DialogLoad = DialogPresenterTest;

TEST_F(DialogLoad, AnEmptyStoreShowsTheDefaultsAndReappliesOnlyTheLevel)
{
    loadVariables();
    presenter.load();

    EXPECT_FALSE(dialog.graphOnly);
    EXPECT_FALSE(dialog.startAtLogin);
    EXPECT_TRUE(dialog.onTop);
    EXPECT_EQ(dialog.speed, "1024000");
    EXPECT_EQ(dialog.megabytes, "");
    EXPECT_EQ(dialog.installDate, std::string("信息统计于 ") + kToday);
    EXPECT_EQ(dialog.totals, std::make_pair(std::string("1 Bytes"), std::string("1 Bytes")));
    EXPECT_EQ(dialog.swatches, (std::array<std::optional<int32_t>, 3>{255, 65280, 12495433}));
    EXPECT_TRUE(dialog.digitsOnly);
    EXPECT_TRUE(dialog.centredOnTop);

    // "100 %" is selected as a pick would be: applied and stored again, and nothing else.
    EXPECT_EQ(dialog.transparency, 9);
    EXPECT_EQ(main.calls, std::vector<std::string>{"opacity 255"});
    EXPECT_EQ(store.batches.size(), 1u);
    EXPECT_EQ(store.at("options", "visibility"), "9");
    EXPECT_EQ(store.at("setting", "autostart"), "(absent)");
    EXPECT_EQ(store.at("options", "graphics"), "(absent)");
    EXPECT_TRUE(main.login.empty());
}

TEST_F(DialogLoad, ALevelOutsideTheListSelectsNothingAndTouchesNothing)
{
    for (const char* storedText : {"12", "10", "-1", "abc", "", "4.7e"}) {
        store.texts[{"options", "visibility"}] = storedText;
        loadVariables();
        main.calls.clear();
        dialog = FakeDialog{};
        presenter.load();
        EXPECT_EQ(dialog.transparency, -1) << storedText;
        EXPECT_TRUE(main.calls.empty()) << storedText;
        EXPECT_TRUE(store.batches.empty()) << storedText;
        // The rest of the dialog loads as usual.
        EXPECT_EQ(dialog.speed, "1024000") << storedText;
        EXPECT_TRUE(dialog.onTop) << storedText;
    }

    store.texts[{"options", "visibility"}] = " 4";
    presenter.load();
    EXPECT_EQ(dialog.transparency, 4);
    EXPECT_EQ(main.calls, std::vector<std::string>{"opacity 128"});
    EXPECT_EQ(store.at("options", "visibility"), "4");
}

TEST_F(DialogLoad, StoredFlagsTickTheirBoxesOnlyWhenTheyReadExactly)
{
    struct Case
    {
        const char* graphics;
        bool graphOnlyTicked;
        const char* autostartFlag;
        bool startAtLoginTicked;
        const char* ontop;
        bool onTopTicked;
    };
    const Case cases[] = {
        {"1", true, "1", true, "false", false},
        {"0", false, "1 ", false, "0", false},
        {"2", false, "true", false, "TRUE", true},
        {"x", false, "01", false, "maybe", false},
        // The dialog's box and the window's layout read "graphics" by one rule.
        {"0.6", false, "0", false, "1", true},
        {"1.4", false, "0", false, "1", true},
        {"1.0", true, "0", false, "1", true},
    };
    for (const Case& flags : cases) {
        store.texts[{"options", "graphics"}] = flags.graphics;
        store.texts[{"setting", "autostart"}] = flags.autostartFlag;
        store.texts[{"setting", "ontop"}] = flags.ontop;
        main.login.clear();
        dialog = FakeDialog{};
        loadVariables();
        presenter.load();
        EXPECT_EQ(dialog.graphOnly, flags.graphOnlyTicked) << flags.graphics;
        EXPECT_EQ(vars.extraGraphHeight == kGraphOnlyExtraHeight, flags.graphOnlyTicked)
            << flags.graphics;
        EXPECT_EQ(dialog.startAtLogin, flags.startAtLoginTicked) << flags.autostartFlag;
        // Only an exact "1" runs the box's handler, which writes the entry.
        EXPECT_EQ(main.login, flags.startAtLoginTicked ? std::vector<std::string>{"enable"}
                                                       : std::vector<std::string>{})
            << flags.autostartFlag;
        EXPECT_EQ(dialog.onTop, flags.onTopTicked) << flags.ontop;
    }
}

TEST_F(DialogLoad, TheDateIsShownAsWrittenAndTotalsInTheLargestUnitWithTheSeparator)
{
    store.texts[{"options", "installdate"}] = "<b>7</b> December";
    loaded();
    EXPECT_EQ(dialog.installDate, "信息统计于 <b>7</b> December");

    vars.downloadTotal = 1023;
    vars.uploadTotal = 1024;
    presenter.load();
    EXPECT_EQ(dialog.totals, std::make_pair(std::string("1023 Bytes"), std::string("1 Kilobytes")));
    dialog.separator = ",";
    vars.downloadTotal = 1536;
    vars.uploadTotal = 2147483647;
    presenter.load();
    EXPECT_EQ(dialog.totals,
              std::make_pair(std::string("1,5 Kilobytes"), std::string("1,99 Gigabytes")));
}

TEST_F(DialogLoad, EveryOpeningRewritesTheLoginEntryAndAFailureLeavesTheBoxClear)
{
    store.texts[{"options", "visibility"}] = "4";
    store.texts[{"setting", "autostart"}] = "1";
    loaded();
    main.loginEntryWorks = false;
    store.failure = "read-only";  // the level's re-store fails: not the user's choice, no message
    presenter.load();
    EXPECT_EQ(main.login, std::vector<std::string>{"enable"});
    EXPECT_EQ(main.calls, (std::vector<std::string>{"opacity 128"}));
    EXPECT_EQ(dialog.transparency, 4);
    EXPECT_FALSE(dialog.startAtLogin);

    store.failure.clear();
    dialog.speed = "56000";
    presenter.okClicked();  // so OK stores what is really there
    EXPECT_EQ(store.at("setting", "autostart"), "0");
}

}  // namespace
}  // namespace kuvell
