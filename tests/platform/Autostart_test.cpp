#include "platform/Autostart.h"

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
    QString EntryPath() const { return config_.filePath("autostart/kuvell.desktop"); }

    QStringList EntryLines() const
    {
        QFile file(EntryPath());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QString ExecLine() const
    {
        const QStringList exec = EntryLines().filter(QRegularExpression("^Exec="));
        return exec.size() == 1 ? exec.front().mid(5) : QString();
    }

    QTemporaryDir config_;
};

// What a desktop reads back from an Exec value holding one quoted program:
// the string escapes first, then the quoting, then the "%%" field code.
QString ProgramOf(const QString& exec)
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
    ASSERT_TRUE(WriteRunValue(EntryPath(), "/opt/kuvell/bin/kuvell"));
    const QStringList lines = EntryLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), "[Desktop Entry]");
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("Name=Kuvell"));
    EXPECT_EQ(ExecLine(), "\"/opt/kuvell/bin/kuvell\"");
}

TEST_F(Autostart, RewritingLeavesOneEntryWithTheNewPath)
{
    ASSERT_TRUE(WriteRunValue(EntryPath(), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(WriteRunValue(EntryPath(), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(WriteRunValue(EntryPath(), "/home/anna/bin/kuvell"));
    EXPECT_EQ(ExecLine(), "\"/home/anna/bin/kuvell\"");
    // No leftover temporary files beside the entry.
    EXPECT_EQ(QDir(config_.filePath("autostart")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"kuvell.desktop"});
}

TEST_F(Autostart, DeletingRemovesTheEntryAndAMissingOneIsFine)
{
    EXPECT_TRUE(DeleteRunValue(EntryPath()));  // nothing there yet, not even the folder
    ASSERT_TRUE(WriteRunValue(EntryPath(), "/opt/kuvell/bin/kuvell"));
    EXPECT_TRUE(DeleteRunValue(EntryPath()));
    EXPECT_FALSE(QFile::exists(EntryPath()));
    EXPECT_TRUE(DeleteRunValue(EntryPath()));
}

TEST_F(Autostart, ReportsWhatCouldNotBeWrittenOrRemoved)
{
    // A file where the folder should be cannot be worked around, not even by root.
    QFile blocker(config_.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(WriteRunValue(EntryPath(), "/opt/kuvell/bin/kuvell"));

    // A folder in the entry's place can be neither replaced nor removed.
    const QString occupied = config_.filePath("elsewhere/kuvell.desktop");
    ASSERT_TRUE(QDir().mkpath(occupied));
    EXPECT_FALSE(WriteRunValue(occupied, "/opt/kuvell/bin/kuvell"));
    EXPECT_FALSE(DeleteRunValue(occupied));
    EXPECT_TRUE(QFileInfo(occupied).isDir());

    EXPECT_FALSE(WriteRunValue(QString(), "/opt/kuvell/bin/kuvell"));
    EXPECT_FALSE(WriteRunValue(config_.filePath("a/kuvell.desktop"), QString()));
}

TEST_F(Autostart, KeepsPathsWithBlanksAndNonAsciiWhole)
{
    const QString program = QStringLiteral("/home/åsa/Mina program/网络 监视/kuvell");
    ASSERT_TRUE(WriteRunValue(EntryPath(), program));
    EXPECT_EQ(ExecLine(), '"' + program + '"');
    EXPECT_EQ(ProgramOf(ExecLine()), program);
}

TEST_F(Autostart, EscapesEveryCharacterTheExecKeyReserves)
{
    const QString program = QStringLiteral("/opt/a\"b$c\\d%e`f'g;h&i|j*k?l#m(n)o~p<q>r");
    ASSERT_TRUE(WriteRunValue(EntryPath(), program));
    EXPECT_EQ(ExecLine(),
              QStringLiteral("\"/opt/a\\\\\"b\\\\$c\\\\\\\\d%%e\\\\`f'g;h&i|j*k?l#m(n)o~p<q>r\""));
    EXPECT_EQ(ProgramOf(ExecLine()), program);

    // A line break would end the value: it is written as an escape.
    const QString broken = QStringLiteral("/opt/two\nlines\tkuvell");
    ASSERT_TRUE(WriteRunValue(EntryPath(), broken));
    EXPECT_EQ(ProgramOf(ExecLine()), broken);

    // Other control characters cannot be written at all; the old entry stays.
    EXPECT_FALSE(WriteRunValue(EntryPath(), QStringLiteral("/opt/bell\a/kuvell")));
    EXPECT_EQ(ProgramOf(ExecLine()), broken);
}

TEST_F(Autostart, ARelativeProgramPathIsMadeAbsolute)
{
    ASSERT_TRUE(WriteRunValue(EntryPath(), "kuvell"));
    EXPECT_EQ(ProgramOf(ExecLine()), QDir::current().absoluteFilePath("kuvell"));
}

TEST_F(Autostart, AnExecutableMovedWhileRunningIsWrittenWithItsNewPath)
{
    const QString started = QCoreApplication::applicationFilePath();
    ASSERT_EQ(RunningExecutablePath(), QFileInfo(started).canonicalFilePath());

    // Move this very test program aside, as a user moving Kuvell would.
    const QString moved = started + QStringLiteral(".moved");
    if (!QFile::rename(started, moved)) {
        GTEST_SKIP() << "cannot rename " << started.toStdString() << " here";
    }
    const QString seen = RunningExecutablePath();
    const bool written = WriteRunValue(EntryPath(), seen);
    QFile::rename(moved, started);

    EXPECT_EQ(seen, QFileInfo(moved).absoluteFilePath());
    ASSERT_TRUE(written);
    EXPECT_EQ(ProgramOf(ExecLine()), seen);
}

TEST(DefaultAutostartEntryPath, FollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/kuvell-config");
    EXPECT_EQ(DefaultAutostartEntryPath(), "/tmp/kuvell-config/autostart/kuvell.desktop");
    // A relative value is not a valid base and falls back to ~/.config.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(DefaultAutostartEntryPath(), QDir::homePath() + "/.config/autostart/kuvell.desktop");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultAutostartEntryPath(), QDir::homePath() + "/.config/autostart/kuvell.desktop");
    if (!saved.isNull()) {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

}  // namespace
}  // namespace kuvell
