#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <string>

#include "platform/Autostart.h"
#include "settings/SettingsFileFixture.h"

namespace kuvell {
namespace {

using testsupport::SettingsFileFixture;

const QString kOptions = QStringLiteral("options");
const QString kSetting = QStringLiteral("setting");

class SettingsStoreTest : public SettingsFileFixture
{
  protected:
    // Runs a write and returns what it printed on stderr.
    std::string StderrOfWrite(SettingsStore& store, const QString& key, const QString& text,
                              bool& written)
    {
        ::testing::internal::CaptureStderr();
        written = store.WriteSetting(kSetting, key, text);
        return ::testing::internal::GetCapturedStderr();
    }

    void ExpectOneFailureLine(const std::string& printed)
    {
        EXPECT_EQ(printed.rfind("kuvell: could not save setting/", 0), 0u) << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
    }
};

TEST_F(SettingsStoreTest, GivesBackExactlyTheTextItStored)
{
    const QString texts[] = {
        QStringLiteral("a,b"),
        QStringLiteral(" a , \"b\" ,c, "),
        QString(),
        QStringLiteral("  blanks around  "),
        QStringLiteral("0056000"),
        QStringLiteral("Ünïcödé 设置 ✓"),
        QStringLiteral("@Rect(1 2 3 4)"),
        QStringLiteral("=;#[options]\\%"),
        QStringLiteral("two\nlines\tand\rreturns"),
        QStringLiteral("\"quoted\""),
        QString(200000, QLatin1Char('x')),
    };
    SettingsStore store(IniPath());
    for (const QString& text : texts) {
        ASSERT_TRUE(store.WriteSetting(kSetting, QStringLiteral("value"), text));
        EXPECT_EQ(store.ReadSetting(kSetting, QStringLiteral("value"), QStringLiteral("default")),
                  text);
        // A fresh store object reads the file, not what the last one remembers.
        EXPECT_EQ(SettingsStore(IniPath()).ReadSetting(kSetting, QStringLiteral("value"), {}),
                  text);
    }
}

TEST_F(SettingsStoreTest, KeepsKeysAndSectionsApart)
{
    SettingsStore store(IniPath());
    ASSERT_TRUE(store.WriteSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("5")));
    ASSERT_TRUE(store.WriteSetting(kSetting, QStringLiteral("dltot"), QStringLiteral("6")));
    ASSERT_TRUE(store.WriteSetting(kOptions, QStringLiteral("DLtot"), QStringLiteral("7")));
    ASSERT_TRUE(store.WriteSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("8")));
    EXPECT_EQ(store.ReadSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("8"));
    EXPECT_EQ(store.ReadSetting(kSetting, QStringLiteral("dltot"), {}), QStringLiteral("6"));
    EXPECT_EQ(store.ReadSetting(kOptions, QStringLiteral("DLtot"), {}), QStringLiteral("7"));
    const QByteArray file = ReadBytes(IniPath());
    EXPECT_TRUE(file.contains("[options]"));
    EXPECT_TRUE(file.contains("[setting]"));
    EXPECT_FALSE(file.contains("General"));
}

TEST_F(SettingsStoreTest, ReadingGivesTheDefaultForMissingKeysAndCreatesNothing)
{
    SettingsStore missing(IniPath());
    EXPECT_EQ(missing.ReadSetting(kOptions, QStringLiteral("installdate"), QStringLiteral("null")),
              QStringLiteral("null"));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(IniPath()).absolutePath()));

    const QByteArray contents = "[options]\nvisibility=\ngraphics=1\n";
    WriteBytes(IniPath(), contents);
    SettingsStore store(IniPath());
    EXPECT_EQ(store.ReadSetting(kOptions, QStringLiteral("visibility"), QStringLiteral("9")),
              QString());  // present but empty is not missing
    EXPECT_EQ(store.ReadSetting(kOptions, QStringLiteral("Graphics"), QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_EQ(store.ReadSetting(kSetting, QStringLiteral("graphics"), QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_EQ(ReadBytes(IniPath()), contents);
    EXPECT_EQ(QDir(QFileInfo(IniPath()).absolutePath())
                  .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("kuvell.ini")});
}

TEST_F(SettingsStoreTest, ReadsHandEditedValuesAsTheirText)
{
    WriteBytes(IniPath(),
               "[setting]\nlist=a,b\nquoted=\"a,b\"\nrect=@Rect(1 2 3 4)\ninvalid=@Invalid()\n"
               "bytes=@ByteArray(xyz)\nlatin=caf\xc3\xa9\n");
    SettingsStore store(IniPath());
    const auto read = [&store](const char* key) {
        return store.ReadSetting(kSetting, QString::fromLatin1(key), QStringLiteral("default"));
    };
    EXPECT_EQ(read("list"), QStringLiteral("a,b"));
    EXPECT_EQ(read("quoted"), QStringLiteral("a,b"));
    EXPECT_EQ(read("rect"), QString());  // no text form: reads as a text no number accepts
    EXPECT_EQ(read("invalid"), QString());
    EXPECT_EQ(read("bytes"), QStringLiteral("xyz"));
    EXPECT_EQ(read("latin"), QStringLiteral("café"));
}

TEST_F(SettingsStoreTest, RefusesNamesThatAreNotPlainSectionsOrKeys)
{
    SettingsStore store(IniPath());
    const QString names[] = {QString(), QStringLiteral("General"), QStringLiteral("general"),
                             QStringLiteral("a/b"), QStringLiteral("a\\b")};
    for (const QString& name : names) {
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(store.WriteSetting(name, QStringLiteral("key"), QStringLiteral("1")));
        EXPECT_FALSE(store.WriteSetting(kSetting, name, QStringLiteral("1")));
        EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(store.ReadSetting(name, QStringLiteral("key"), QStringLiteral("d")),
                  QStringLiteral("d"));
    }
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
}

TEST_F(SettingsStoreTest, CreatesTheFolderOnTheFirstWriteAndRewritesAMalformedFile)
{
    SettingsStore fresh(PathIn(QStringLiteral("a/b/c/kuvell.ini")));
    EXPECT_TRUE(fresh.WriteSetting(kOptions, QStringLiteral("graphics"), QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(fresh.filePath()).isFile());

    WriteBytes(IniPath(), "[options\nvisibility=3\n[setting]\nulcolor=5\nno equals sign\n");
    SettingsStore malformed(IniPath());
    EXPECT_TRUE(malformed.WriteSetting(kSetting, QStringLiteral("dlcolor"), QStringLiteral("7")));
    EXPECT_EQ(malformed.ReadSetting(kSetting, QStringLiteral("dlcolor"), {}), QStringLiteral("7"));
    EXPECT_EQ(malformed.ReadSetting(kSetting, QStringLiteral("ulcolor"), {}), QStringLiteral("5"));
}

TEST_F(SettingsStoreTest, AFailedWriteReportsItselfAndLeavesTheOldFile)
{
    bool written = true;

    // A folder where the file should be.
    SettingsStore folderInPlace(PathIn(QStringLiteral("isafolder.ini")));
    ASSERT_TRUE(QDir().mkpath(folderInPlace.filePath()));
    ExpectOneFailureLine(
        StderrOfWrite(folderInPlace, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_TRUE(QFileInfo(folderInPlace.filePath()).isDir());

    // A folder that cannot be created, because a file has its name.
    WriteBytes(PathIn(QStringLiteral("plainfile")), "keep");
    SettingsStore noFolder(PathIn(QStringLiteral("plainfile/kuvell/kuvell.ini")));
    ExpectOneFailureLine(
        StderrOfWrite(noFolder, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(PathIn(QStringLiteral("plainfile"))), QByteArray("keep"));
}

TEST_F(SettingsStoreTest, AWriteToAReadOnlyFileOrFolderFailsAndLeavesTheBytes)
{
    if (!PermissionsAreEnforced()) GTEST_SKIP() << "running with permission checks bypassed";
    const QByteArray contents = "[setting]\nDLtot=42\n";
    bool written = true;

    const QString readOnlyFile = PathIn(QStringLiteral("file/kuvell.ini"));
    WriteBytes(readOnlyFile, contents);
    MakeReadOnly(readOnlyFile);
    SettingsStore fileStore(readOnlyFile);
    ExpectOneFailureLine(
        StderrOfWrite(fileStore, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(readOnlyFile), contents);

    // Malformed contents must not hide the failure.
    const QByteArray malformed = "[setting\nDLtot=42\n";
    const QString inReadOnlyFolder = PathIn(QStringLiteral("folder/kuvell.ini"));
    WriteBytes(inReadOnlyFolder, malformed);
    MakeReadOnly(QFileInfo(inReadOnlyFolder).absolutePath());
    SettingsStore folderStore(inReadOnlyFolder);
    ExpectOneFailureLine(
        StderrOfWrite(folderStore, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(inReadOnlyFolder), malformed);

    // A file that cannot be read is not rewritten from nothing.
    const QString unreadable = PathIn(QStringLiteral("unreadable/kuvell.ini"));
    WriteBytes(unreadable, contents);
    MakeUnreadable(unreadable);
    SettingsStore unreadableStore(unreadable);
    EXPECT_EQ(unreadableStore.ReadSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("1")),
              QStringLiteral("1"));
    ExpectOneFailureLine(
        StderrOfWrite(unreadableStore, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    QFile::setPermissions(unreadable, QFileDevice::ReadOwner);
    EXPECT_EQ(ReadBytes(unreadable), contents);
}

TEST(DefaultSettingsFilePath, FollowsXdgConfigHomeElseTheHomeConfigFolder)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/kuvell-config-home");
    EXPECT_EQ(DefaultSettingsFilePath(),
              QStringLiteral("/tmp/kuvell-config-home/kuvell/kuvell.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultSettingsFilePath(),
              QDir::homePath() + QStringLiteral("/.config/kuvell/kuvell.ini"));
    // A relative value is no valid base: followed, the settings and totals would
    // depend on the folder Kuvell was started from. Both of Kuvell's files
    // agree on the folder.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(DefaultSettingsFilePath(),
              QDir::homePath() + QStringLiteral("/.config/kuvell/kuvell.ini"));
    const auto configHomeOf = [](const QString& file) {
        return QFileInfo(QFileInfo(file).path()).path();
    };
    EXPECT_EQ(configHomeOf(DefaultSettingsFilePath()), configHomeOf(DefaultAutostartEntryPath()));
    qunsetenv("XDG_CONFIG_HOME");
    if (wasSet) qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
}  // namespace kuvell
