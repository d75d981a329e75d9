// SPDX-License-Identifier: MIT
// Start-up over the INI file where only the file can say what happens: hostile
// bytes, a folder in its place, a read-only file. The conversions of every key
// are tested against a store in memory.
#include "settings/core/StartupSettings.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <random>
#include <tuple>

#include "support/MemoryStore.h"
#include "support/SettingsFileFixture.h"

namespace kuvell {
namespace {

using testsupport::SettingsFileFixture;

const QString kToday = QStringLiteral("Monday, 7 December 2026");

class StartupSettingsTest : public SettingsFileFixture
{
  protected:
    StartupSettings load()
    {
        SettingsStore store(iniPath());
        return loadStartupSettings(store, vars, kToday.toStdString());
    }

    // As start-up reads a store that holds nothing.
    void expectDefaults(const StartupSettings& loaded) const
    {
        testsupport::MemoryStore empty;
        ProgramVariables defaults;
        const StartupSettings fromEmpty =
            loadStartupSettings(empty, defaults, kToday.toStdString());
        const auto values = [](const ProgramVariables& v, const StartupSettings& s) {
            return std::tie(v.downloadColour, v.uploadColour, v.backgroundColour, v.connectionSpeed,
                            v.downloadTotal, v.uploadTotal, v.onTop, v.extraGraphHeight,
                            s.transparencyLevel, s.placement.left, s.placement.top,
                            s.placement.width, s.placement.height);
        };
        EXPECT_EQ(values(vars, loaded), values(defaults, fromEmpty));
    }

    ProgramVariables vars;
};

TEST_F(StartupSettingsTest, AFileOfGarbageBytesReadsAsAnEmptyStore)
{
    std::mt19937 random(20261207);
    QByteArray garbage(64 * 1024, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random() & 0xff);
    writeBytes(iniPath(), garbage);
    expectDefaults(load());
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
    writeBytes(iniPath(), contents);
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
