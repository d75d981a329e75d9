// SPDX-License-Identifier: MIT
// The start-up reads through the key table, against a store in memory; the
// INI file's own spellings and bytes are tested with the file.
#include "settings/core/StartupSettings.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "support/MemoryStore.h"

namespace kuvell {
namespace {

using testsupport::MemoryStore;

constexpr const char* kToday = "Monday, 7 December 2026";

class StartupSettingsCore : public ::testing::Test
{
  protected:
    StartupSettings load(const char* today = kToday)
    {
        vars = {};
        return loadStartupSettings(store, vars, today);
    }

    // Only these texts are stored, each "key=text", of "options" and of "setting".
    StartupSettings loadTexts(const std::vector<std::string>& options,
                              const std::vector<std::string>& setting = {})
    {
        store.texts.clear();
        store.batches.clear();
        for (const auto& [section, lines] : {std::pair("options", options), {"setting", setting}}) {
            for (const std::string& line : lines) {
                const std::size_t equals = line.find('=');
                store.texts[{section, line.substr(0, equals)}] = line.substr(equals + 1);
            }
        }
        return load();
    }

    // The colours, speed, totals, always on top and layout height.
    auto numbers() const
    {
        return std::tuple(vars.downloadColour, vars.uploadColour, vars.backgroundColour,
                          vars.connectionSpeed, vars.downloadTotal, vars.uploadTotal, vars.onTop,
                          vars.extraGraphHeight);
    }
    static auto rect(const StartupSettings& loaded)
    {
        const WindowPlacement& placed = loaded.placement;
        return std::tuple(placed.left, placed.top, placed.width, placed.height);
    }

    void expectDefaults(const StartupSettings& loaded) const
    {
        EXPECT_EQ(loaded.transparencyLevel, 9);
        expectSettingSectionDefaults(loaded, 0);
    }
    void expectSettingSectionDefaults(const StartupSettings& loaded, int16_t extraHeight) const
    {
        EXPECT_EQ(numbers(), std::tuple(255, 65280, 12495433, 1024000, 1, 1, true, extraHeight));
        EXPECT_EQ(rect(loaded), std::tuple(0, 0, 4650, 2460));
    }

    MemoryStore store;
    ProgramVariables vars;
};

TEST_F(StartupSettingsCore, AnEmptyStoreGivesTheDefaultsAndWritesOnlyTheDate)
{
    expectDefaults(load());
    EXPECT_EQ(vars.installDate, kToday);
    ASSERT_EQ(store.batches.size(), 1u);
    EXPECT_EQ(store.texts, (MemoryStore::Texts{{{"options", "installdate"}, kToday}}));
}

TEST_F(StartupSettingsCore, TheDateIsWrittenOnlyOverTheExactTextNull)
{
    load("día 1 ✓");
    load("a later day");
    EXPECT_EQ(vars.installDate, "día 1 ✓");
    EXPECT_EQ(store.at("options", "installdate"), "día 1 ✓");

    // A stored empty date is a date, as are the other spellings: kept, not replaced.
    for (const char* kept : {"Null", "NULL", "", " null", "null "}) {
        loadTexts({std::string("installdate=") + kept});
        EXPECT_EQ(vars.installDate, kept);
        EXPECT_TRUE(store.batches.empty()) << kept;
    }
    loadTexts({"installdate=null"});
    EXPECT_EQ(vars.installDate, kToday);
    EXPECT_EQ(store.at("options", "installdate"), kToday);
}

TEST_F(StartupSettingsCore, AFailedDateWriteStillStartsWithTheDateInMemory)
{
    store.failure = "no room";
    expectDefaults(load("today"));  // the reads after it still ran
    EXPECT_EQ(vars.installDate, "today");
}

TEST_F(StartupSettingsCore, ReadsOntopInEverySpelling)
{
    const std::pair<const char*, bool> spellings[] = {
        {"False", false}, {"0", false}, {"false", false}, {"TRUE", true},
        {"1", true},      {"-1", true}, {"true", true},   {" True ", true},
    };
    for (const auto& [text, expected] : spellings) {
        loadTexts({}, {std::string("ontop=") + text});
        EXPECT_EQ(vars.onTop, expected) << text;
    }
    loadTexts({}, {"ontop=yes"});
    EXPECT_FALSE(vars.onTop);  // the initial value, not the default "true"
}

TEST_F(StartupSettingsCore, ReadsHexadecimalColoursLeadingZerosAndStoredPlacement)
{
    const StartupSettings loaded =
        loadTexts({"visibility=0"}, {"dlcolor=&HFF0000", "ulcolor=16711935", "bgcolor=&H000000",
                                     "connectionspeed=0056000", "windowsposx=-30000",
                                     "windowsposy=2.5", "windowswidth=9000", "windowsheight=3000.5",
                                     "DLtot=2147483647", "ULtot=-2147483648"});
    EXPECT_EQ(numbers(),
              std::tuple(16711680, 16711935, 0, 56000, 2147483647, -2147483648, true, 0));
    EXPECT_EQ(rect(loaded), std::tuple(-30000, 2, 9000, 3000));
    EXPECT_EQ(loaded.transparencyLevel, 0);
}

// "graphics" follows one rule wherever it is read: graph-only exactly when
// the text is the number 1, so "0.6" and "1.4" open the normal layout.
TEST_F(StartupSettingsCore, GraphicsIsGraphOnlyExactlyWhenItIsTheNumberOne)
{
    const std::pair<const char*, bool> cases[] = {
        {"1", true},    {"1.0", true},   {" 01 ", true},   {"&H1", true},
        {"0.6", false}, {"1.4", false},  {"0.999", false}, {"0", false},
        {"2", false},   {"true", false}, {"one", false},   {"", false},
    };
    for (const auto& [text, graphOnly] : cases) {
        EXPECT_EQ(graphOnlyFromText(text).value_or(false), graphOnly) << text;
        loadTexts({std::string("graphics=") + text});
        EXPECT_EQ(vars.extraGraphHeight, graphOnly ? kGraphOnlyExtraHeight : 0) << text;
    }
}

TEST_F(StartupSettingsCore, TextsThatDoNotConvertLeaveTheInitialValues)
{
    const StartupSettings loaded = loadTexts(
        {"graphics=x", "installdate=", "visibility=10.5x"},
        {"dlcolor=", "ulcolor=&HZZ", "bgcolor=&H100000000", "connectionspeed=1e6",
         "windowsposx=2147483648", "windowsposy=--1", "windowswidth=a,b",
         "windowsheight=@Rect(1 2 3 4)", "DLtot=99999999999", "ULtot=1,5", "ontop=maybe"});
    EXPECT_EQ(numbers(), std::tuple(0, 0, 0, 0, 0, 0, false, 0));
    EXPECT_EQ(vars.installDate, "");
    EXPECT_EQ(loaded.transparencyLevel, std::nullopt);
    EXPECT_EQ(rect(loaded), std::tuple(0, 0, 0, 0));

    // A number, though no level: no transparency.
    EXPECT_EQ(loadTexts({"visibility=-1"}).transparencyLevel, -1);
    EXPECT_EQ(loadTexts({"visibility=40000"}).transparencyLevel, std::nullopt);
}

TEST_F(StartupSettingsCore, HugeAndBinaryTextsConvertOrFailSafely)
{
    const std::string hugeDate(1 << 20, 'd');
    const StartupSettings loaded = loadTexts(
        {"installdate=" + hugeDate},
        {"DLtot=" + std::string(1 << 20, '9'), "windowsposx=" + std::string(1 << 20, '0') + "7",
         "ontop=" + std::string(1 << 20, 't'), "dlcolor=\x01\x02\xff\xfe\x7f"});
    EXPECT_EQ(vars.installDate, hugeDate);
    EXPECT_EQ(vars.downloadTotal, 0);
    EXPECT_EQ(loaded.placement.left, 7);
    EXPECT_FALSE(vars.onTop);
    EXPECT_EQ(vars.downloadColour, 0);
    EXPECT_EQ(vars.uploadColour, 65280);  // a key that is missing still reads its default
}

TEST_F(StartupSettingsCore, AMissingSectionGivesThatSectionsDefaults)
{
    const StartupSettings withoutSetting =
        loadTexts({"graphics=1", "installdate=then", "visibility=4"});
    expectSettingSectionDefaults(withoutSetting, kGraphOnlyExtraHeight);
    EXPECT_EQ(withoutSetting.transparencyLevel, 4);
    EXPECT_EQ(vars.installDate, "then");

    const StartupSettings withoutOptions = loadTexts({}, {"DLtot=5"});
    EXPECT_EQ(vars.downloadTotal, 5);
    EXPECT_EQ(withoutOptions.transparencyLevel, 9);
    EXPECT_EQ(vars.installDate, kToday);
}

}  // namespace
}  // namespace kuvell
