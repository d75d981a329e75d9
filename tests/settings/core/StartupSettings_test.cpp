// SPDX-License-Identifier: MIT
// The start-up reads through the key table, against a store in memory; the
// INI file's own spellings are tested with the file in tests/settings.
#include "settings/core/StartupSettings.h"

#include <gtest/gtest.h>

#include "support/MemoryStore.h"

namespace kuvell {
namespace {

using testsupport::MemoryStore;

TEST(StartupSettingsCore, StartUpWritesOnlyTheDateAndOnlyOverAnAbsentOne)
{
    MemoryStore store;
    ProgramVariables vars;
    const StartupSettings loaded = loadStartupSettings(store, vars, "7 december 2026");
    EXPECT_EQ(loaded.placement.width, 4650);
    ASSERT_EQ(store.batches.size(), 1u);
    EXPECT_EQ(store.at("options", "installdate"), "7 december 2026");
    EXPECT_EQ(store.at("options", "graphics"), "(absent)");

    // A stored empty date is a date: kept, not replaced.
    MemoryStore dated;
    dated.texts[{"options", "installdate"}] = "";
    ProgramVariables again;
    static_cast<void>(loadStartupSettings(dated, again, "today"));
    EXPECT_EQ(again.installDate, "");
    EXPECT_TRUE(dated.batches.empty());
}

TEST(StartupSettingsCore, AFailedDateWriteStillStartsWithTheDateInMemory)
{
    MemoryStore store;
    store.failure = "no room";
    ProgramVariables vars;
    const StartupSettings loaded = loadStartupSettings(store, vars, "today");
    EXPECT_EQ(vars.installDate, "today");
    EXPECT_EQ(vars.connectionSpeed, 1024000);  // the reads after it still ran
    EXPECT_EQ(loaded.transparencyLevel, 9);
}

// "graphics" follows one rule wherever it is read: graph-only exactly when
// the text is the number 1, so "0.6" and "1.4" open the normal layout.
TEST(StartupSettingsCore, GraphicsIsGraphOnlyExactlyWhenItIsTheNumberOne)
{
    const std::pair<const char*, bool> cases[] = {
        {"1", true},    {"1.0", true}, {" 01 ", true}, {"&H1", true},  {"0.6", false},
        {"1.4", false}, {"0", false},  {"2", false},   {"one", false}, {"", false},
    };
    for (const auto& [text, graphOnly] : cases) {
        EXPECT_EQ(graphOnlyFromText(text).value_or(false), graphOnly) << text;
        MemoryStore store;
        store.texts[{"options", "graphics"}] = text;
        ProgramVariables vars;
        static_cast<void>(loadStartupSettings(store, vars, "today"));
        EXPECT_EQ(vars.extraGraphHeight, graphOnly ? kGraphOnlyExtraHeight : 0) << text;
    }
}

}  // namespace
}  // namespace kuvell
