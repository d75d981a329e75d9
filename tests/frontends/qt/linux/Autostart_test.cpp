// SPDX-License-Identifier: MIT
#include "frontends/qt/Autostart.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

namespace kuvell {
namespace {

class Autostart : public ::testing::Test
{
  protected:
    QString entryPath() const { return config_.filePath("autostart/kuvell.desktop"); }

    QStringList entryLines() const
    {
        QFile file(entryPath());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QString execLine() const
    {
        const QStringList exec = entryLines().filter(QRegularExpression("^Exec="));
        return exec.size() == 1 ? exec.front().mid(5) : QString();
    }

    QTemporaryDir config_;
};

// What a desktop reads back from an Exec value holding one quoted program:
// the string escapes first, then the quoting, then the "%%" field code.
QString programOf(const QString& exec)
{
    QString unescaped;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        if (exec[i] == u'\\' && i + 1 < exec.size()) {
            const QChar next = exec[++i];
            unescaped += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
        } else {
            unescaped += exec[i];
        }
    }
    if (unescaped.size() < 2 || !unescaped.startsWith(u'"') || !unescaped.endsWith(u'"')) {
        return {};
    }
    QString program;
    for (qsizetype i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == u'\\') {
            ++i;
        } else if (unescaped[i] == u'"') {
            return {};  // an unescaped quote would end the argument early
        }
        program += unescaped[i];
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

TEST_F(Autostart, WritesAnApplicationEntryCreatingItsFolder)
{
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    const QStringList lines = entryLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), "[Desktop Entry]");
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("Name=Kuvell"));
    EXPECT_EQ(execLine(), "\"/opt/kuvell/bin/kuvell\"");
}

TEST_F(Autostart, RewritingLeavesOneEntryWithTheNewPath)
{
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(writeRunValue(entryPath(), "/home/anna/bin/kuvell"));
    EXPECT_EQ(execLine(), "\"/home/anna/bin/kuvell\"");
    // No leftover temporary files beside the entry.
    EXPECT_EQ(QDir(config_.filePath("autostart")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"kuvell.desktop"});
}

TEST_F(Autostart, DeletingRemovesTheEntryAndAMissingOneIsFine)
{
    EXPECT_TRUE(deleteRunValue(entryPath()));  // nothing there yet, not even the folder
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    EXPECT_TRUE(deleteRunValue(entryPath()));
    EXPECT_FALSE(QFile::exists(entryPath()));
    EXPECT_TRUE(deleteRunValue(entryPath()));
}

TEST_F(Autostart, ReportsWhatCouldNotBeWrittenOrRemoved)
{
    // A file where the folder should be cannot be worked around, not even by root.
    QFile blocker(config_.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));

    // A folder in the entry's place can be neither replaced nor removed.
    const QString occupied = config_.filePath("elsewhere/kuvell.desktop");
    ASSERT_TRUE(QDir().mkpath(occupied));
    EXPECT_FALSE(writeRunValue(occupied, "/opt/kuvell/bin/kuvell"));
    EXPECT_FALSE(deleteRunValue(occupied));
    EXPECT_TRUE(QFileInfo(occupied).isDir());

    EXPECT_FALSE(writeRunValue(QString(), "/opt/kuvell/bin/kuvell"));
    EXPECT_FALSE(writeRunValue(config_.filePath("a/kuvell.desktop"), QString()));
}

// A link planted in an autostart folder others can change made the entry replace its target.
TEST_F(Autostart, IsNotWrittenThroughALinkInAFolderOthersCanChange)
{
    ASSERT_TRUE(writeRunValue(config_.filePath("mine/kuvell.desktop"), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(QDir().mkpath(config_.filePath("autostart")));
    ASSERT_TRUE(
        QFile::setPermissions(config_.filePath("autostart"), QFileDevice::Permissions(0x7777)));
    ASSERT_TRUE(QFile::link(config_.filePath("mine/kuvell.desktop"), entryPath()));
    EXPECT_FALSE(writeRunValue(entryPath(), "/home/attacker/evil"));
    EXPECT_EQ(programOf(execLine()), "/opt/kuvell/bin/kuvell");
}

TEST_F(Autostart, KeepsPathsWithBlanksAndNonAsciiWhole)
{
    const QString program = QStringLiteral("/home/åsa/Mina program/网络 监视/kuvell");
    ASSERT_TRUE(writeRunValue(entryPath(), program));
    EXPECT_EQ(execLine(), '"' + program + '"');
    EXPECT_EQ(programOf(execLine()), program);
}

TEST_F(Autostart, EscapesEveryCharacterTheExecKeyReserves)
{
    const QString program = QStringLiteral("/opt/a\"b$c\\d%e`f'g;h&i|j*k?l#m(n)o~p<q>r");
    ASSERT_TRUE(writeRunValue(entryPath(), program));
    EXPECT_EQ(execLine(),
              QStringLiteral("\"/opt/a\\\\\"b\\\\$c\\\\\\\\d%%e\\\\`f'g;h&i|j*k?l#m(n)o~p<q>r\""));
    EXPECT_EQ(programOf(execLine()), program);

    // A line break would end the value: it is written as an escape.
    const QString broken = QStringLiteral("/opt/two\nlines\tkuvell");
    ASSERT_TRUE(writeRunValue(entryPath(), broken));
    EXPECT_EQ(programOf(execLine()), broken);

    // Other control characters cannot be written at all; the old entry stays.
    EXPECT_FALSE(writeRunValue(entryPath(), QStringLiteral("/opt/bell\a/kuvell")));
    EXPECT_EQ(programOf(execLine()), broken);
}

TEST_F(Autostart, ARelativeProgramPathIsMadeAbsolute)
{
    ASSERT_TRUE(writeRunValue(entryPath(), "kuvell"));
    EXPECT_EQ(programOf(execLine()), QDir::current().absoluteFilePath("kuvell"));
}

TEST_F(Autostart, AnExecutableMovedWhileRunningIsWrittenWithItsNewPath)
{
    const QString started = QCoreApplication::applicationFilePath();
    ASSERT_EQ(runningExecutablePath(), QFileInfo(started).canonicalFilePath());

    // Move this very test program aside, as a user moving Kuvell would.
    const QString moved = started + QStringLiteral(".moved");
    if (!QFile::rename(started, moved)) {
        GTEST_SKIP() << "cannot rename " << started.toStdString() << " here";
    }
    const QString seen = runningExecutablePath();
    const Result written = writeRunValue(entryPath(), seen);
    QFile::rename(moved, started);

    EXPECT_EQ(seen, QFileInfo(moved).absoluteFilePath());
    ASSERT_TRUE(written);
    EXPECT_EQ(programOf(execLine()), seen);
}

TEST(DefaultAutostartEntryPath, FollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/kuvell-config");
    EXPECT_EQ(defaultAutostartEntryPath(), "/tmp/kuvell-config/autostart/kuvell.desktop");
    // A relative value is not a valid base and falls back to ~/.config.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(defaultAutostartEntryPath(), QDir::homePath() + "/.config/autostart/kuvell.desktop");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultAutostartEntryPath(), QDir::homePath() + "/.config/autostart/kuvell.desktop");
    if (!saved.isNull()) {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

}  // namespace
}  // namespace kuvell
