// SPDX-License-Identifier: MIT
// The settings dialog's controls against fakes: what acts at once and what OK applies.
#include "settings/core/SettingsDialogPresenter.h"

#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "settings/core/DialogControls.h"
#include "support/SettingsDialogFakes.h"

namespace kuvell {
using namespace testsupport;
namespace {

using DialogPresenter = DialogPresenterTest;

TEST_F(DialogPresenter, OkRefusesASpeedThatCannotBeReadBackAndAppliesNothing)
{
    loaded();
    dialog.graphOnly = true;
    for (const char* typed : {"", "2147483648", "99999999999", "99999999999999999999"}) {
        dialog.speed = typed;
        presenter.okClicked();
        EXPECT_TRUE(dialog.speedInvalid) << typed;
    }
    EXPECT_FALSE(dialog.closed);
    EXPECT_TRUE(store.batches.empty());
    EXPECT_TRUE(main.calls.empty());
    EXPECT_EQ(vars.connectionSpeed, 1024000);
    EXPECT_EQ(vars.extraGraphHeight, 0);
    presenter.speedEdited();
    EXPECT_FALSE(dialog.speedInvalid);

    dialog.speed = "2147483647";  // the largest 32-bit value is taken
    presenter.okClicked();
    EXPECT_EQ(vars.connectionSpeed, 2147483647);
    EXPECT_EQ(store.at("setting", "connectionspeed"), "2147483647");
    EXPECT_TRUE(dialog.closed);
}

TEST_F(DialogPresenter, OkAppliesThenStoresOneBatchInItsOrder)
{
    loaded();  // on top, as an empty store says
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

    // Back to the normal layout; a speed of 0 is taken like any other.
    dialog.graphOnly = false;
    dialog.speed = "0";
    presenter.okClicked();
    EXPECT_EQ(store.at("options", "graphics"), "0");
    EXPECT_EQ(vars.extraGraphHeight, 0);
    EXPECT_EQ(vars.connectionSpeed, 0);
    EXPECT_EQ(store.at("setting", "connectionspeed"), "0");
}

TEST_F(DialogPresenter, AlwaysOnTopIsPlacedOnlyAsTheTickAndTheFlagSay)
{
    struct Case
    {
        bool onTop, ticked;
        std::vector<std::string> calls;  // every OK nudges the window once
        const char* stored;
    };
    const Case cases[] = {
        // Ticked and already on top: no placement call, so a window that is in
        // fact not in the band stays out of it, and nothing is stored.
        {true, true, {"nudge"}, "(absent)"},
        {false, true, {"nudge", "on top"}, "true"},
        // Not ticked and already off: the window still leaves the band; nothing stored.
        {false, false, {"nudge", "not on top"}, "(absent)"},
        {true, false, {"nudge", "not on top"}, "false"},
    };
    for (const Case& onTop : cases) {
        store.texts.erase({"setting", "ontop"});
        loaded();
        vars.onTop = onTop.onTop;
        dialog.onTop = onTop.ticked;
        dialog.speed = "1";
        presenter.okClicked();
        EXPECT_EQ(main.calls, onTop.calls) << onTop.onTop << onTop.ticked;
        EXPECT_EQ(vars.onTop, onTop.ticked);
        EXPECT_EQ(store.at("setting", "ontop"), onTop.stored) << onTop.onTop << onTop.ticked;
    }
}

TEST_F(DialogPresenter, SpeedInMillionsUsesTheSeparatorAndStoresNothing)
{
    loaded();
    const std::pair<const char*, const char*> cases[] = {
        {"1024000", "1.024"},
        {"56000", "0.056"},
        {"8000000", "8"},
        {"001024", "0.001024"},
        {"99999999999999999999", "100000000000000"}};
    for (const auto& [typed, shown] : cases) {
        dialog.speed = typed;
        presenter.megabytesClicked();
        EXPECT_EQ(dialog.megabytes, shown) << typed;
    }
    dialog.speed = "";
    presenter.megabytesClicked();
    EXPECT_EQ(dialog.megabytes, "100000000000000");  // unchanged

    dialog.separator = ",";
    dialog.speed = "1024000";
    presenter.megabytesClicked();
    EXPECT_EQ(dialog.megabytes, "1,024");
    EXPECT_EQ(vars.connectionSpeed, 1024000);
    EXPECT_TRUE(store.batches.empty());
}

// A failed store used to be dropped; the choices still apply, but the user
// learns they were not kept. The level the opening re-stores is not reported.
TEST_F(DialogPresenter, APickedLevelAppliesAndIsStoredAndAFailureIsReported)
{
    loaded();
    for (const int index : {0, 4}) {
        dialog.transparency = index;
        presenter.transparencyChosen(true);
        EXPECT_EQ(store.at("options", "visibility"), std::to_string(index));
    }
    EXPECT_EQ(main.calls, (std::vector<std::string>{"opacity 26", "opacity 128"}));

    store.failure = "read-only";
    dialog.transparency = 2;
    presenter.transparencyChosen(true);
    EXPECT_EQ(main.calls, (std::vector<std::string>{
                              "opacity 26", "opacity 128", "opacity 76",
                              "The transparency could not be saved to memory:\nread-only."}));

    main.calls.clear();
    dialog.speed = "56000";
    presenter.okClicked();
    EXPECT_EQ(main.calls, (std::vector<std::string>{
                              "nudge", "The settings could not be saved to memory:\nread-only."}));
    EXPECT_EQ(vars.connectionSpeed, 56000);
    EXPECT_TRUE(dialog.closed);
}

TEST_F(DialogPresenter, APickedColourTakesEffectAndIsStoredAtOnce)
{
    loaded();
    presenter.swatchClicked(Swatch::Upload);  // cancelled: nothing changes
    EXPECT_EQ(dialog.offeredColour, 65280);
    EXPECT_EQ(dialog.swatches[1], 65280);
    EXPECT_EQ(vars.uploadColour, 65280);

    dialog.picked = 16711680;
    presenter.swatchClicked(Swatch::Download);
    EXPECT_EQ(dialog.swatches[0], 16711680);
    EXPECT_EQ(vars.downloadColour, 16711680);
    EXPECT_EQ(store.at("setting", "dlcolor"), "16711680");
    EXPECT_TRUE(main.calls.empty());  // only the background reaches the graph

    dialog.picked = 255;
    presenter.swatchClicked(Swatch::Background);
    EXPECT_EQ(vars.backgroundColour, 255);
    EXPECT_EQ(store.at("setting", "bgcolor"), "255");
    EXPECT_EQ(main.calls, std::vector<std::string>{"background 255"});
    EXPECT_EQ(store.batches.size(), 2u);
    EXPECT_EQ(store.at("setting", "ulcolor"), "(absent)");

    // A colour that cannot be stored stops the handler there: the steps before ran.
    store.failure = "read-only";
    dialog.picked = 65535;
    main.calls.clear();
    presenter.swatchClicked(Swatch::Background);
    EXPECT_EQ(dialog.swatches[2], 65535);
    EXPECT_EQ(vars.backgroundColour, 65535);
    EXPECT_EQ(main.calls,
              std::vector<std::string>{"The colour could not be saved to memory:\nread-only."});
}

TEST_F(DialogPresenter, StartAtLoginFollowsWhatReallyHappenedAndWaitsForOkToBeStored)
{
    loaded();
    dialog.startAtLogin = true;
    presenter.startAtLoginClicked();
    dialog.startAtLogin = false;
    presenter.startAtLoginClicked();
    EXPECT_EQ(main.login, (std::vector<std::string>{"enable", "disable"}));
    EXPECT_FALSE(dialog.startAtLogin);
    EXPECT_TRUE(store.batches.empty());

    main.loginEntryWorks = false;
    dialog.startAtLogin = true;
    presenter.startAtLoginClicked();
    EXPECT_FALSE(dialog.startAtLogin);
    // Shown ticked (say, from an earlier opening), the click clears it, but the
    // removal fails: ticked again.
    presenter.startAtLoginClicked();
    EXPECT_EQ(main.login.back(), "disable");
    EXPECT_TRUE(dialog.startAtLogin);
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
