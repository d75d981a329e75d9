// SPDX-License-Identifier: MIT
#include "settings/core/StartupSettings.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <random>

#include "support/SettingsFileFixture.h"

namespace kuvell {
namespace {

using testsupport::SettingsFileFixture;

const QString kToday = QStringLiteral("Monday, 7 December 2026");

class StartupSettingsTest : public SettingsFileFixture
{
  protected:
    StartupSettings load(const QString& today = kToday)
    {
        SettingsStore store(iniPath());
        return loadStartupSettings(store, vars, today.toStdString());
    }

    void storeFile(const QByteArray& contents) { writeBytes(iniPath(), contents); }

    void expectInitialNumbers() const
    {
        EXPECT_EQ(vars.downloadColour, 0);
        EXPECT_EQ(vars.uploadColour, 0);
        EXPECT_EQ(vars.backgroundColour, 0);
        EXPECT_EQ(vars.connectionSpeed, 0);
        EXPECT_EQ(vars.downloadTotal, 0);
        EXPECT_EQ(vars.uploadTotal, 0);
        EXPECT_FALSE(vars.onTop);
        EXPECT_EQ(vars.extraGraphHeight, 0);
    }

    void expectDefaults(const StartupSettings& loaded) const
    {
        EXPECT_EQ(vars.extraGraphHeight, 0);
        EXPECT_EQ(loaded.transparencyLevel, 9);
        expectSettingSectionDefaults(loaded);
    }

    void expectSettingSectionDefaults(const StartupSettings& loaded) const
    {
        EXPECT_EQ(vars.downloadColour, 255);
        EXPECT_EQ(vars.uploadColour, 65280);
        EXPECT_EQ(vars.backgroundColour, 12495433);
        EXPECT_EQ(vars.connectionSpeed, 1024000);
        EXPECT_EQ(vars.downloadTotal, 1);
        EXPECT_EQ(vars.uploadTotal, 1);
        EXPECT_TRUE(vars.onTop);
        EXPECT_EQ(loaded.placement.left, 0);
        EXPECT_EQ(loaded.placement.top, 0);
        EXPECT_EQ(loaded.placement.width, 4650);
        EXPECT_EQ(loaded.placement.height, 2460);
    }

    QString storedInstallDate() const
    {
        return SettingsStore(iniPath()).readSetting(QStringLiteral("options"),
                                                    QStringLiteral("installdate"), {});
    }

    ProgramVariables vars;
};

TEST_F(StartupSettingsTest, AnEmptyStoreGivesTheDefaultsAndRecordsTheInstallDate)
{
    expectDefaults(load());
    EXPECT_EQ(vars.installDate, kToday.toStdString());
    EXPECT_EQ(storedInstallDate(), kToday);
}

TEST_F(StartupSettingsTest, TheInstallDateIsWrittenOnlyOverTheExactTextNull)
{
    load(QStringLiteral("día 1 ✓"));
    vars = {};
    load(QStringLiteral("a later day"));
    EXPECT_EQ(vars.installDate, "día 1 ✓");
    EXPECT_EQ(storedInstallDate(), QStringLiteral("día 1 ✓"));

    for (const QByteArray& kept : {QByteArray("Null"), QByteArray("NULL"), QByteArray(""),
                                   QByteArray(" null"), QByteArray("null ")}) {
        const QByteArray contents = "[options]\ninstalldate=\"" + kept + "\"\n";
        storeFile(contents);
        vars = {};
        load();
        EXPECT_EQ(vars.installDate, kept.toStdString());
        EXPECT_EQ(readBytes(iniPath()), contents);  // not rewritten
    }

    storeFile("[options]\ninstalldate=null\n");
    load();
    EXPECT_EQ(vars.installDate, kToday.toStdString());
    EXPECT_EQ(storedInstallDate(), kToday);
}

TEST_F(StartupSettingsTest, ReadsOntopInEverySpelling)
{
    const std::pair<const char*, bool> spellings[] = {
        {"False", false}, {"0", false}, {"false", false}, {"TRUE", true},
        {"1", true},      {"-1", true}, {"true", true},   {" True ", true},
    };
    for (const auto& [text, expected] : spellings) {
        storeFile(QByteArray("[setting]\nontop=\"") + text + "\"\n");
        vars = {};
        vars.onTop = !expected;
        load();
        EXPECT_EQ(vars.onTop, expected) << text;
    }
    storeFile("[setting]\nontop=yes\n");
    vars = {};
    load();
    EXPECT_FALSE(vars.onTop);  // the initial value, not the default "true"
}

TEST_F(StartupSettingsTest, ReadsHexadecimalColoursLeadingZerosAndStoredPlacement)
{
    storeFile(
        "[options]\nvisibility=0\n"
        "[setting]\ndlcolor=&HFF0000\nulcolor=16711935\nbgcolor=&H000000\n"
        "connectionspeed=0056000\nwindowsposx=-30000\nwindowsposy=2.5\nwindowswidth=9000\n"
        "windowsheight=\"3000.5\"\nDLtot=2147483647\nULtot=-2147483648\n");
    const StartupSettings loaded = load();
    EXPECT_EQ(vars.downloadColour, 16711680);
    EXPECT_EQ(vars.uploadColour, 16711935);
    EXPECT_EQ(vars.backgroundColour, 0);
    EXPECT_EQ(vars.connectionSpeed, 56000);
    EXPECT_EQ(loaded.placement.left, -30000);
    EXPECT_EQ(loaded.placement.top, 2);
    EXPECT_EQ(loaded.placement.width, 9000);
    EXPECT_EQ(loaded.placement.height, 3000);
    EXPECT_EQ(vars.downloadTotal, 2147483647);
    EXPECT_EQ(vars.uploadTotal, -2147483648);
    EXPECT_EQ(loaded.transparencyLevel, 0);
}

TEST_F(StartupSettingsTest, GraphicsTurnsOnTheGraphOnlyLayoutOnlyWhenItEqualsOne)
{
    const std::pair<const char*, int16_t> cases[] = {
        {"1", 265}, {"1.0", 265}, {" 01 ", 265}, {"&H1", 265}, {"0", 0},
        {"2", 0},   {"0.999", 0}, {"true", 0},   {"", 0},      {"one", 0},
    };
    for (const auto& [text, expected] : cases) {
        storeFile(QByteArray("[options]\ngraphics=\"") + text + "\"\n");
        vars = {};
        load();
        EXPECT_EQ(vars.extraGraphHeight, expected) << text;
    }
}

TEST_F(StartupSettingsTest, TextsThatDoNotConvertLeaveTheInitialValues)
{
    storeFile(
        "[options]\ngraphics=x\ninstalldate=\nvisibility=10.5x\n"
        "[setting]\ndlcolor=\"\"\nulcolor=&HZZ\nbgcolor=&H100000000\nconnectionspeed=1e6\n"
        "windowsposx=2147483648\nwindowsposy=--1\nwindowswidth=a,b\nwindowsheight=@Rect(1 2 3 4)\n"
        "DLtot=99999999999\nULtot=1,5\nontop=maybe\n");
    const StartupSettings loaded = load();
    expectInitialNumbers();
    EXPECT_EQ(vars.installDate, "");
    EXPECT_EQ(loaded.transparencyLevel, std::nullopt);
    EXPECT_EQ(loaded.placement.left, 0);
    EXPECT_EQ(loaded.placement.top, 0);
    EXPECT_EQ(loaded.placement.width, 0);
    EXPECT_EQ(loaded.placement.height, 0);

    storeFile("[options]\nvisibility=-1\n");
    EXPECT_EQ(load().transparencyLevel, -1);  // a number, though no level: no transparency
    storeFile("[options]\nvisibility=40000\n");
    EXPECT_EQ(load().transparencyLevel, std::nullopt);
}

TEST_F(StartupSettingsTest, SurvivesGarbageBytesAndHugeValues)
{
    std::mt19937 random(20261207);
    QByteArray garbage(64 * 1024, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random() & 0xff);
    storeFile(garbage);
    const StartupSettings fromGarbage = load();
    expectDefaults(fromGarbage);

    const QByteArray hugeDate(1 << 20, 'd');
    storeFile("[options]\ninstalldate=" + hugeDate + "\n[setting]\nDLtot=" +
              QByteArray(1 << 20, '9') + "\nwindowsposx=" + QByteArray(1 << 20, '0') +
              "7\nontop=" + QByteArray(1 << 20, 't') + "\ndlcolor=\x01\x02\xff\xfe\x7f\n");
    vars = {};
    const StartupSettings fromHuge = load();
    EXPECT_EQ(vars.installDate, hugeDate.toStdString());
    EXPECT_EQ(vars.downloadTotal, 0);
    EXPECT_EQ(fromHuge.placement.left, 7);
    EXPECT_FALSE(vars.onTop);
    EXPECT_EQ(vars.downloadColour, 0);
    EXPECT_EQ(vars.uploadColour, 65280);  // a key that is missing still reads its default
}

TEST_F(StartupSettingsTest, AMissingSectionGivesThatSectionsDefaults)
{
    storeFile("[options]\ngraphics=1\ninstalldate=then\nvisibility=4\n");
    const StartupSettings withoutSetting = load();
    expectSettingSectionDefaults(withoutSetting);
    EXPECT_EQ(withoutSetting.transparencyLevel, 4);
    EXPECT_EQ(vars.extraGraphHeight, 265);
    EXPECT_EQ(vars.installDate, "then");
    storeFile("[setting]\nDLtot=5\n");
    vars = {};
    const StartupSettings loaded = load();
    EXPECT_EQ(vars.downloadTotal, 5);
    EXPECT_EQ(loaded.transparencyLevel, 9);
    EXPECT_EQ(vars.installDate, kToday.toStdString());
}

TEST_F(StartupSettingsTest, AnUnwritableStoreStillStartsWithTheDateInMemory)
{
    ASSERT_TRUE(QDir().mkpath(iniPath()));  // a folder in the file's place
    ::testing::internal::CaptureStderr();
    expectDefaults(load());
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(vars.installDate, kToday.toStdString());
    EXPECT_TRUE(QFileInfo(iniPath()).isDir());
}

TEST_F(StartupSettingsTest, AReadOnlyFileKeepsItsBytesThroughStartUp)
{
    if (!permissionsAreEnforced()) GTEST_SKIP() << "running with permission checks bypassed";
    const QByteArray contents = "[setting]\nDLtot=77\n";
    storeFile(contents);
    makeReadOnly(iniPath());
    ::testing::internal::CaptureStderr();
    load();
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(vars.downloadTotal, 77);
    EXPECT_EQ(vars.installDate, kToday.toStdString());
    EXPECT_EQ(readBytes(iniPath()), contents);
}

}  // namespace
}  // namespace kuvell
