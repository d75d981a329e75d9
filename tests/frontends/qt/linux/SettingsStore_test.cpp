// SPDX-License-Identifier: MIT
#include "frontends/qt/SettingsStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/Autostart.h"

namespace kuvell {
namespace {

TEST(DefaultSettingsFilePath, FollowsXdgConfigHomeElseTheHomeConfigFolder)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/kuvell-config-home");
    EXPECT_EQ(defaultSettingsFilePath(),
              QStringLiteral("/tmp/kuvell-config-home/kuvell/kuvell.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultSettingsFilePath(),
              QDir::homePath() + QStringLiteral("/.config/kuvell/kuvell.ini"));
    // A relative value is no valid base: followed, the settings and totals would
    // depend on the folder Kuvell was started from. Both of Kuvell's files
    // agree on the folder.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(defaultSettingsFilePath(),
              QDir::homePath() + QStringLiteral("/.config/kuvell/kuvell.ini"));
    const auto configHomeOf = [](const QString& file) {
        return QFileInfo(QFileInfo(file).path()).path();
    };
    EXPECT_EQ(configHomeOf(defaultSettingsFilePath()),
              configHomeOf(QFile::decodeName(defaultAutostartEntryPath().c_str())));
    qunsetenv("XDG_CONFIG_HOME");
    if (wasSet) qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
}  // namespace kuvell
