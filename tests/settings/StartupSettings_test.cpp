#include "settings/StartupSettings.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <random>

#include "settings/SettingsFileFixture.h"

namespace kuvell {
namespace {

using testsupport::SettingsFileFixture;

const QString kToday = QStringLiteral("Monday, 7 December 2026");

class StartupSettingsTest : public SettingsFileFixture
{
  protected:
    StartupSettings Load(const QString& today = kToday)
    {
        SettingsStore store(IniPath());
        return LoadStartupSettings(store, vars, today);
    }

    void StoreFile(const QByteArray& contents) { WriteBytes(IniPath(), contents); }

    void ExpectInitialNumbers() const
    {
        EXPECT_EQ(vars.DLColor, 0);
        EXPECT_EQ(vars.ULColor, 0);
        EXPECT_EQ(vars.BGColor, 0);
        EXPECT_EQ(vars.ConnectionSpeed, 0);
        EXPECT_EQ(vars.DLtot, 0);
        EXPECT_EQ(vars.ULtot, 0);
        EXPECT_FALSE(vars.OnTop);
        EXPECT_EQ(vars.ExtraGraphHeight, 0);
    }

    void ExpectDefaults(const StartupSettings& loaded) const
    {
        EXPECT_EQ(vars.ExtraGraphHeight, 0);
        EXPECT_EQ(loaded.TransparencyLevel, 9);
        ExpectSettingSectionDefaults(loaded);
    }

    void ExpectSettingSectionDefaults(const StartupSettings& loaded) const
    {
        EXPECT_EQ(vars.DLColor, 255);
        EXPECT_EQ(vars.ULColor, 65280);
        EXPECT_EQ(vars.BGColor, 12495433);
        EXPECT_EQ(vars.ConnectionSpeed, 1024000);
        EXPECT_EQ(vars.DLtot, 1);
        EXPECT_EQ(vars.ULtot, 1);
        EXPECT_TRUE(vars.OnTop);
        EXPECT_EQ(loaded.placement.left, 0);
        EXPECT_EQ(loaded.placement.top, 0);
        EXPECT_EQ(loaded.placement.width, 4650);
        EXPECT_EQ(loaded.placement.height, 2460);
    }

    QString StoredInstallDate() const
    {
        return SettingsStore(IniPath()).ReadSetting(QStringLiteral("options"),
                                                    QStringLiteral("installdate"), {});
    }

    ProgramVariables vars;
};

TEST_F(StartupSettingsTest, AnEmptyStoreGivesTheDefaultsAndRecordsTheInstallDate)
{
    ExpectDefaults(Load());
    EXPECT_EQ(vars.InstallDate, kToday.toStdString());
    EXPECT_EQ(StoredInstallDate(), kToday);
}

TEST_F(StartupSettingsTest, TheInstallDateIsWrittenOnlyOverTheExactTextNull)
{
    Load(QStringLiteral("día 1 ✓"));
    vars = {};
    Load(QStringLiteral("a later day"));
    EXPECT_EQ(vars.InstallDate, "día 1 ✓");
    EXPECT_EQ(StoredInstallDate(), QStringLiteral("día 1 ✓"));

    for (const QByteArray& kept : {QByteArray("Null"), QByteArray("NULL"), QByteArray(""),
                                   QByteArray(" null"), QByteArray("null ")}) {
        const QByteArray contents = "[options]\ninstalldate=\"" + kept + "\"\n";
        StoreFile(contents);
        vars = {};
        Load();
        EXPECT_EQ(vars.InstallDate, kept.toStdString());
        EXPECT_EQ(ReadBytes(IniPath()), contents);  // not rewritten
    }

    StoreFile("[options]\ninstalldate=null\n");
    Load();
    EXPECT_EQ(vars.InstallDate, kToday.toStdString());
    EXPECT_EQ(StoredInstallDate(), kToday);
}

TEST_F(StartupSettingsTest, ReadsOntopInEverySpelling)
{
    const std::pair<const char*, bool> spellings[] = {
        {"False", false}, {"0", false}, {"false", false}, {"TRUE", true},
        {"1", true},      {"-1", true}, {"true", true},   {" True ", true},
    };
    for (const auto& [text, expected] : spellings) {
        StoreFile(QByteArray("[setting]\nontop=\"") + text + "\"\n");
        vars = {};
        vars.OnTop = !expected;
        Load();
        EXPECT_EQ(vars.OnTop, expected) << text;
    }
    StoreFile("[setting]\nontop=yes\n");
    vars = {};
    Load();
    EXPECT_FALSE(vars.OnTop);  // the initial value, not the default "true"
}

TEST_F(StartupSettingsTest, ReadsHexadecimalColoursLeadingZerosAndStoredPlacement)
{
    StoreFile(
        "[options]\nvisibility=0\n"
        "[setting]\ndlcolor=&HFF0000\nulcolor=16711935\nbgcolor=&H000000\n"
        "connectionspeed=0056000\nwindowsposx=-30000\nwindowsposy=2.5\nwindowswidth=9000\n"
        "windowsheight=\"3000.5\"\nDLtot=2147483647\nULtot=-2147483648\n");
    const StartupSettings loaded = Load();
    EXPECT_EQ(vars.DLColor, 16711680);
    EXPECT_EQ(vars.ULColor, 16711935);
    EXPECT_EQ(vars.BGColor, 0);
    EXPECT_EQ(vars.ConnectionSpeed, 56000);
    EXPECT_EQ(loaded.placement.left, -30000);
    EXPECT_EQ(loaded.placement.top, 2);
    EXPECT_EQ(loaded.placement.width, 9000);
    EXPECT_EQ(loaded.placement.height, 3000);
    EXPECT_EQ(vars.DLtot, 2147483647);
    EXPECT_EQ(vars.ULtot, -2147483648);
    EXPECT_EQ(loaded.TransparencyLevel, 0);
}

TEST_F(StartupSettingsTest, GraphicsTurnsOnTheGraphOnlyLayoutOnlyWhenItEqualsOne)
{
    const std::pair<const char*, int16_t> cases[] = {
        {"1", 265}, {"1.0", 265}, {" 01 ", 265}, {"&H1", 265}, {"0", 0},
        {"2", 0},   {"0.999", 0}, {"true", 0},   {"", 0},      {"one", 0},
    };
    for (const auto& [text, expected] : cases) {
        StoreFile(QByteArray("[options]\ngraphics=\"") + text + "\"\n");
        vars = {};
        Load();
        EXPECT_EQ(vars.ExtraGraphHeight, expected) << text;
    }
}

TEST_F(StartupSettingsTest, TextsThatDoNotConvertLeaveTheInitialValues)
{
    StoreFile(
        "[options]\ngraphics=x\ninstalldate=\nvisibility=10.5x\n"
        "[setting]\ndlcolor=\"\"\nulcolor=&HZZ\nbgcolor=&H100000000\nconnectionspeed=1e6\n"
        "windowsposx=2147483648\nwindowsposy=--1\nwindowswidth=a,b\nwindowsheight=@Rect(1 2 3 4)\n"
        "DLtot=99999999999\nULtot=1,5\nontop=maybe\n");
    const StartupSettings loaded = Load();
    ExpectInitialNumbers();
    EXPECT_EQ(vars.InstallDate, "");
    EXPECT_EQ(loaded.TransparencyLevel, std::nullopt);
    EXPECT_EQ(loaded.placement.left, 0);
    EXPECT_EQ(loaded.placement.top, 0);
    EXPECT_EQ(loaded.placement.width, 0);
    EXPECT_EQ(loaded.placement.height, 0);

    StoreFile("[options]\nvisibility=-1\n");
    EXPECT_EQ(Load().TransparencyLevel, -1);  // a number, though no level: no transparency
    StoreFile("[options]\nvisibility=40000\n");
    EXPECT_EQ(Load().TransparencyLevel, std::nullopt);
}

TEST_F(StartupSettingsTest, SurvivesGarbageBytesAndHugeValues)
{
    std::mt19937 random(20261207);
    QByteArray garbage(64 * 1024, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random() & 0xff);
    StoreFile(garbage);
    const StartupSettings fromGarbage = Load();
    ExpectDefaults(fromGarbage);

    const QByteArray hugeDate(1 << 20, 'd');
    StoreFile("[options]\ninstalldate=" + hugeDate + "\n[setting]\nDLtot=" +
              QByteArray(1 << 20, '9') + "\nwindowsposx=" + QByteArray(1 << 20, '0') +
              "7\nontop=" + QByteArray(1 << 20, 't') + "\ndlcolor=\x01\x02\xff\xfe\x7f\n");
    vars = {};
    const StartupSettings fromHuge = Load();
    EXPECT_EQ(vars.InstallDate, hugeDate.toStdString());
    EXPECT_EQ(vars.DLtot, 0);
    EXPECT_EQ(fromHuge.placement.left, 7);
    EXPECT_FALSE(vars.OnTop);
    EXPECT_EQ(vars.DLColor, 0);
    EXPECT_EQ(vars.ULColor, 65280);  // a key that is missing still reads its default
}

TEST_F(StartupSettingsTest, AMissingSectionGivesThatSectionsDefaults)
{
    StoreFile("[options]\ngraphics=1\ninstalldate=then\nvisibility=4\n");
    const StartupSettings withoutSetting = Load();
    ExpectSettingSectionDefaults(withoutSetting);
    EXPECT_EQ(withoutSetting.TransparencyLevel, 4);
    EXPECT_EQ(vars.ExtraGraphHeight, 265);
    EXPECT_EQ(vars.InstallDate, "then");
    StoreFile("[setting]\nDLtot=5\n");
    vars = {};
    const StartupSettings loaded = Load();
    EXPECT_EQ(vars.DLtot, 5);
    EXPECT_EQ(loaded.TransparencyLevel, 9);
    EXPECT_EQ(vars.InstallDate, kToday.toStdString());
}

TEST_F(StartupSettingsTest, AnUnwritableStoreStillStartsWithTheDateInMemory)
{
    ASSERT_TRUE(QDir().mkpath(IniPath()));  // a folder in the file's place
    ::testing::internal::CaptureStderr();
    ExpectDefaults(Load());
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(vars.InstallDate, kToday.toStdString());
    EXPECT_TRUE(QFileInfo(IniPath()).isDir());
}

TEST_F(StartupSettingsTest, AReadOnlyFileKeepsItsBytesThroughStartUp)
{
    if (!PermissionsAreEnforced()) GTEST_SKIP() << "running with permission checks bypassed";
    const QByteArray contents = "[setting]\nDLtot=77\n";
    StoreFile(contents);
    MakeReadOnly(IniPath());
    ::testing::internal::CaptureStderr();
    Load();
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(vars.DLtot, 77);
    EXPECT_EQ(vars.InstallDate, kToday.toStdString());
    EXPECT_EQ(ReadBytes(IniPath()), contents);
}

}  // namespace
}  // namespace kuvell
