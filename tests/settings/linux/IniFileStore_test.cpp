// SPDX-License-Identifier: MIT
// The INI file store's rules, with QSettings as its codec as in the program.
#include "settings/linux/IniFileStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLockFile>
#include <QStringEncoder>
#include <string>
#include <vector>

#include "frontends/qt/SettingsStore.h"
#include "support/SettingsFileFixture.h"
#include "support/TextStore.h"

namespace kuvell {
namespace {

using testsupport::SettingsFileFixture;

const QString kOptions = QStringLiteral("options");
const QString kSetting = QStringLiteral("setting");

class IniFileStoreTest : public SettingsFileFixture
{
  protected:
    // Runs a write and returns what it printed on stderr.
    std::string stderrOfWrite(testsupport::TextStore& store, const QString& key,
                              const QString& text, bool& written)
    {
        ::testing::internal::CaptureStderr();
        written = static_cast<bool>(store.writeSetting(kSetting, key, text));
        return ::testing::internal::GetCapturedStderr();
    }

    void expectOneFailureLine(const std::string& printed)
    {
        EXPECT_EQ(printed.rfind("kuvell.store: could not save setting/", 0), 0u) << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
    }
};

TEST_F(IniFileStoreTest, GivesBackExactlyTheTextItStored)
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
    testsupport::TextStore store(iniPath());
    for (const QString& text : texts) {
        ASSERT_TRUE(store.writeSetting(kSetting, QStringLiteral("value"), text));
        EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("value"), QStringLiteral("default")),
                  text);
        // A fresh store object reads the file, not what the last one remembers.
        EXPECT_EQ(
            testsupport::TextStore(iniPath()).readSetting(kSetting, QStringLiteral("value"), {}),
            text);
    }
}

TEST_F(IniFileStoreTest, KeepsKeysAndSectionsApart)
{
    testsupport::TextStore store(iniPath());
    ASSERT_TRUE(store.writeSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("5")));
    ASSERT_TRUE(store.writeSetting(kSetting, QStringLiteral("dltot"), QStringLiteral("6")));
    ASSERT_TRUE(store.writeSetting(kOptions, QStringLiteral("DLtot"), QStringLiteral("7")));
    ASSERT_TRUE(store.writeSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("8")));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("8"));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("dltot"), {}), QStringLiteral("6"));
    EXPECT_EQ(store.readSetting(kOptions, QStringLiteral("DLtot"), {}), QStringLiteral("7"));
    const QByteArray file = readBytes(iniPath());
    EXPECT_TRUE(file.contains("[options]"));
    EXPECT_TRUE(file.contains("[setting]"));
    EXPECT_FALSE(file.contains("General"));
}

TEST_F(IniFileStoreTest, ReadingGivesTheDefaultForMissingKeysAndCreatesNothing)
{
    testsupport::TextStore missing(iniPath());
    EXPECT_EQ(missing.readSetting(kOptions, QStringLiteral("installdate"), QStringLiteral("null")),
              QStringLiteral("null"));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(iniPath()).absolutePath()));

    const QByteArray contents = "[options]\nvisibility=\ngraphics=1\n";
    writeBytes(iniPath(), contents);
    testsupport::TextStore store(iniPath());
    EXPECT_EQ(store.readSetting(kOptions, QStringLiteral("visibility"), QStringLiteral("9")),
              QString());  // present but empty is not missing
    EXPECT_EQ(store.readSetting(kOptions, QStringLiteral("Graphics"), QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("graphics"), QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_EQ(readBytes(iniPath()), contents);
    EXPECT_EQ(QDir(QFileInfo(iniPath()).absolutePath())
                  .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("kuvell.ini")});
}

TEST_F(IniFileStoreTest, ReadsHandEditedValuesAsTheirText)
{
    writeBytes(iniPath(),
               "[setting]\nlist=a,b\nquoted=\"a,b\"\nrect=@Rect(1 2 3 4)\ninvalid=@Invalid()\n"
               "bytes=@ByteArray(xyz)\nlatin=caf\xc3\xa9\n"
               "[options]\ninstalldate = Montag, 7. Dezember 2026 \r\nspaced=a ,  b,c\n"
               "mixed=a, \"b,c\"\n[setting]\ncommented=x, y ;, z\n");
    testsupport::TextStore store(iniPath());
    const auto read = [&store](const char* key) {
        return store.readSetting(kSetting, QString::fromLatin1(key), QStringLiteral("default"));
    };
    EXPECT_EQ(read("list"), QStringLiteral("a,b"));
    EXPECT_EQ(read("quoted"), QStringLiteral("a,b"));
    EXPECT_EQ(read("rect"), QString());  // no text form: reads as a text no number accepts
    EXPECT_EQ(read("invalid"), QString());
    EXPECT_EQ(read("bytes"), QStringLiteral("xyz"));
    EXPECT_EQ(read("latin"), QStringLiteral("café"));
    EXPECT_EQ(read("commented"), QStringLiteral("x,y"));  // the comment is not text
    const auto readOption = [&store](const char* key) {
        return store.readSetting(kOptions, QString::fromLatin1(key), {});
    };
    EXPECT_EQ(readOption("installdate"), QStringLiteral("Montag, 7. Dezember 2026"));
    EXPECT_EQ(readOption("spaced"), QStringLiteral("a ,  b,c"));
    EXPECT_EQ(readOption("mixed"), QStringLiteral("a,b,c"));  // quotes: the list, joined
}

// The file is read in one pass; whatever Qt's reader would join across lines,
// unescape or order differently must still read as Qt reads it.
TEST_F(IniFileStoreTest, ReadsLinesJoinedEscapedOrRepeatedAsQtDoes)
{
    writeBytes(iniPath(),
               "top=1\n[setting]\nplain=a , b\r\nempty=\nequals=a=b\nrepeated=1\n"
               "[ setting ]\nspaced=2\n[setting] junk\nafterjunk=3\n[a b]\nDLtot=4\n"
               "[setting]\nrepeated=\"5\"\n%44Ltot=6\nULtot=7\nULtot=8\ncomment=x ; y\n"
               "tabbed\t=9\nhash=#1\nopen=\"a\nDLtot=10\nclosed\"\nafter=11\n");
    testsupport::TextStore store(iniPath());
    const auto read = [&store](const char* key) {
        return store.readSetting(kSetting, QString::fromLatin1(key), QStringLiteral("default"));
    };
    EXPECT_EQ(read("plain"), QStringLiteral("a , b"));
    EXPECT_EQ(read("empty"), QString());
    EXPECT_EQ(read("equals"), QStringLiteral("a=b"));
    EXPECT_EQ(read("repeated"), QStringLiteral("5"));  // the last line wins, quoted or not
    EXPECT_EQ(read("spaced"), QStringLiteral("2"));
    EXPECT_EQ(read("afterjunk"), QStringLiteral("3"));
    EXPECT_EQ(read("DLtot"), QStringLiteral("6"));  // an escaped name is the same name
    EXPECT_EQ(read("ULtot"), QStringLiteral("8"));
    EXPECT_EQ(read("comment"), QStringLiteral("x"));
    EXPECT_EQ(read("tabbed"), QStringLiteral("9"));
    EXPECT_EQ(read("hash"), QStringLiteral("#1"));
    EXPECT_EQ(read("open"), QStringLiteral("a\nDLtot=10\nclosed"));  // a quote spans lines
    EXPECT_EQ(read("after"), QStringLiteral("11"));
    EXPECT_EQ(store.readSetting(QStringLiteral("a b"), QStringLiteral("DLtot"), {}),
              QStringLiteral("4"));
}

// The first-start date used to make Qt rewrite the whole file: a hand edit lost
// its look, a large file took seconds and grew past the read limit.
TEST_F(IniFileStoreTest, AKeyTheFileLacksIsAddedAtItsEndAndTheRestKeepsItsBytes)
{
    const QByteArray handEdited = "; mine\n[setting]\nlist = a,b\nDLtot=5";
    writeBytes(iniPath(), handEdited);
    testsupport::TextStore store(iniPath());
    ASSERT_TRUE(
        store.writeSetting(kOptions, QStringLiteral("installdate"), QStringLiteral("a, b")));
    EXPECT_TRUE(readBytes(iniPath()).startsWith(handEdited + '\n')) << readBytes(iniPath()).data();
    ASSERT_TRUE(store.writeSetting(kSetting, QStringLiteral("ULtot"), QStringLiteral("6")));
    testsupport::TextStore fresh(iniPath());
    for (testsupport::TextStore* reader : {&store, &fresh}) {
        EXPECT_EQ(reader->readSetting(kOptions, QStringLiteral("installdate"), {}),
                  QStringLiteral("a, b"));
        EXPECT_EQ(reader->readSetting(kSetting, QStringLiteral("ULtot"), {}), QStringLiteral("6"));
        EXPECT_EQ(reader->readSetting(kSetting, QStringLiteral("list"), {}), QStringLiteral("a,b"));
        EXPECT_EQ(reader->readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("5"));
    }

    // A last line that runs on would swallow what is added: Qt rewrites the file.
    writeBytes(iniPath(), "[setting]\nopen=\"a\n");
    testsupport::TextStore runOn(iniPath());
    ASSERT_TRUE(runOn.writeSetting(kOptions, QStringLiteral("installdate"), QStringLiteral("d")));
    EXPECT_EQ(
        testsupport::TextStore(iniPath()).readSetting(kOptions, QStringLiteral("installdate"), {}),
        QStringLiteral("d"));
}

TEST_F(IniFileStoreTest, RemovingAKeyLeavesTheOthersAndAnAbsentOneIsASuccessThatWritesNothing)
{
    const KeyName chosen{"options", "interface"};
    testsupport::TextStore store(iniPath());
    // Nothing to remove: not even the folder is made.
    EXPECT_TRUE(store.removeText(chosen));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(iniPath()).absolutePath()));

    writeBytes(iniPath(),
               "[options]\ninterface=eth0\nvisibility=3\n[setting]\ninterface=kept\n"
               "[options]\ninterface=eth1\n");
    EXPECT_EQ(store.readText(chosen), "eth1");
    ASSERT_TRUE(store.removeText(chosen));
    testsupport::TextStore fresh(iniPath());
    for (testsupport::TextStore* reader : {&store, &fresh}) {
        EXPECT_EQ(reader->readText(chosen), std::nullopt) << "every line of it is gone";
        EXPECT_EQ(reader->readText({"options", "visibility"}), "3");
        EXPECT_EQ(reader->readText({"setting", "interface"}), "kept");
    }
    EXPECT_FALSE(readBytes(iniPath()).contains("eth")) << readBytes(iniPath()).data();

    // A removal that fails (here the lock cannot be had) says so and keeps the file.
    ASSERT_TRUE(store.writeTexts(std::vector<StoreChange>{{chosen, "wlan0"}}));
    const QByteArray before = readBytes(iniPath());
    ASSERT_TRUE(QDir().mkpath(iniPath() + QStringLiteral(".lock")));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(store.removeText(chosen));
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.rfind("kuvell.store: could not remove options/interface from ", 0), 0u)
        << printed;
    EXPECT_EQ(readBytes(iniPath()), before);
    EXPECT_EQ(store.readText(chosen), "wlan0");
}

TEST_F(IniFileStoreTest, RefusesNamesThatAreNotPlainSectionsOrKeys)
{
    testsupport::TextStore store(iniPath());
    const QString names[] = {QString(), QStringLiteral("General"), QStringLiteral("general"),
                             QStringLiteral("a/b"), QStringLiteral("a\\b")};
    for (const QString& name : names) {
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(store.writeSetting(name, QStringLiteral("key"), QStringLiteral("1")));
        EXPECT_FALSE(store.writeSetting(kSetting, name, QStringLiteral("1")));
        EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(store.readSetting(name, QStringLiteral("key"), QStringLiteral("d")),
                  QStringLiteral("d"));
    }
    EXPECT_FALSE(QFileInfo::exists(iniPath()));
}

TEST_F(IniFileStoreTest, CreatesTheFolderOnTheFirstWriteAndRewritesAMalformedFile)
{
    testsupport::TextStore fresh(pathIn(QStringLiteral("a/b/c/kuvell.ini")));
    EXPECT_TRUE(fresh.writeSetting(kOptions, QStringLiteral("graphics"), QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(fresh.location())).isFile());

    writeBytes(iniPath(), "[options\nvisibility=3\n[setting]\nulcolor=5\nno equals sign\n");
    testsupport::TextStore malformed(iniPath());
    EXPECT_TRUE(malformed.writeSetting(kSetting, QStringLiteral("dlcolor"), QStringLiteral("7")));
    EXPECT_EQ(malformed.readSetting(kSetting, QStringLiteral("dlcolor"), {}), QStringLiteral("7"));
    EXPECT_EQ(malformed.readSetting(kSetting, QStringLiteral("ulcolor"), {}), QStringLiteral("5"));
}

TEST_F(IniFileStoreTest, AFailedWriteReportsItselfAndLeavesTheOldFile)
{
    bool written = true;

    // A folder where the file should be.
    const QString folderPath = pathIn(QStringLiteral("isafolder.ini"));
    testsupport::TextStore folderInPlace(folderPath);
    ASSERT_TRUE(QDir().mkpath(folderPath));
    expectOneFailureLine(
        stderrOfWrite(folderInPlace, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_TRUE(QFileInfo(folderPath).isDir());

    // A folder that cannot be created, because a file has its name.
    writeBytes(pathIn(QStringLiteral("plainfile")), "keep");
    testsupport::TextStore noFolder(pathIn(QStringLiteral("plainfile/kuvell/kuvell.ini")));
    expectOneFailureLine(
        stderrOfWrite(noFolder, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(pathIn(QStringLiteral("plainfile"))), QByteArray("keep"));
}

TEST_F(IniFileStoreTest, AWriteToAReadOnlyFileOrFolderFailsAndLeavesTheBytes)
{
    if (!permissionsAreEnforced()) GTEST_SKIP() << "running with permission checks bypassed";
    const QByteArray contents = "[setting]\nDLtot=42\n";
    bool written = true;

    const QString readOnlyFile = pathIn(QStringLiteral("file/kuvell.ini"));
    writeBytes(readOnlyFile, contents);
    makeReadOnly(readOnlyFile);
    testsupport::TextStore fileStore(readOnlyFile);
    expectOneFailureLine(
        stderrOfWrite(fileStore, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(readOnlyFile), contents);

    // Malformed contents must not hide the failure.
    const QByteArray malformed = "[setting\nDLtot=42\n";
    const QString inReadOnlyFolder = pathIn(QStringLiteral("folder/kuvell.ini"));
    writeBytes(inReadOnlyFolder, malformed);
    makeReadOnly(QFileInfo(inReadOnlyFolder).absolutePath());
    testsupport::TextStore folderStore(inReadOnlyFolder);
    expectOneFailureLine(
        stderrOfWrite(folderStore, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(inReadOnlyFolder), malformed);

    // A file that cannot be read is not rewritten from nothing.
    const QString unreadable = pathIn(QStringLiteral("unreadable/kuvell.ini"));
    writeBytes(unreadable, contents);
    makeUnreadable(unreadable);
    testsupport::TextStore unreadableStore(unreadable);
    EXPECT_EQ(unreadableStore.readSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("1")),
              QStringLiteral("1"));
    expectOneFailureLine(
        stderrOfWrite(unreadableStore, QStringLiteral("DLtot"), QStringLiteral("1"), written));
    EXPECT_FALSE(written);
    QFile::setPermissions(unreadable, QFileDevice::ReadOwner);
    EXPECT_EQ(readBytes(unreadable), contents);
}

TEST_F(IniFileStoreTest, SeveralKeysAreStoredTogetherOrNotAtAll)
{
    testsupport::TextStore store(iniPath());
    const StoreChange batch[] = {
        {{"setting", "DLtot"}, "5"}, {{"options", "graphics"}, "1"}, {{"setting", "ULtot"}, "6"}};
    ASSERT_TRUE(store.writeTexts(batch));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("5"));
    EXPECT_EQ(store.readSetting(kOptions, QStringLiteral("graphics"), {}), QStringLiteral("1"));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("ULtot"), {}), QStringLiteral("6"));

    // One bad name spoils the batch: nothing of it lands.
    const QByteArray before = readBytes(iniPath());
    ::testing::internal::CaptureStderr();
    const StoreChange badBatch[] = {{{"setting", "DLtot"}, "7"}, {{"setting", "a/b"}, "8"}};
    const Result refused = store.writeTexts(badBatch);
    expectOneFailureLine(::testing::internal::GetCapturedStderr());
    EXPECT_FALSE(refused);
    EXPECT_FALSE(refused.reason.empty());
    EXPECT_EQ(readBytes(iniPath()), before);
}

// A FIFO used to hang start-up, a link to a zero device read without end and
// was then replaced by a file, as was a link to the null device.
TEST_F(IniFileStoreTest, WhatIsNoRegularFileReadsAsEmptyAndIsNeverWrittenOver)
{
    const QString fifo = pathIn(QStringLiteral("fifo/kuvell.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(fifo).absolutePath()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zeroLink = pathIn(QStringLiteral("zero/kuvell.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(zeroLink).absolutePath()));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeroLink));
    const QString nullLink = pathIn(QStringLiteral("null/kuvell.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(nullLink).absolutePath()));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), nullLink));
    const QString folder = pathIn(QStringLiteral("folder/kuvell.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));

    for (const QString& path : {fifo, zeroLink, nullLink, folder}) {
        testsupport::TextStore store(path);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("1")),
                  QStringLiteral("1"));
        EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("ULtot"), QStringLiteral("1")),
                  QStringLiteral("1"));
        const std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(printed.rfind("kuvell.store: cannot read ", 0), 0u) << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << "reported once: " << printed;

        bool written = true;
        const std::string failure =
            stderrOfWrite(store, QStringLiteral("DLtot"), QStringLiteral("5"), written);
        expectOneFailureLine(failure);
        EXPECT_NE(failure.find("not a regular file"), std::string::npos) << failure;
        EXPECT_FALSE(written);
    }
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(QFileInfo(zeroLink).symLinkTarget(), QStringLiteral("/dev/zero"));
    EXPECT_EQ(QFileInfo(nullLink).symLinkTarget(), QStringLiteral("/dev/null"));
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(IniFileStoreTest, AFileFarTooLargeIsNeitherReadNorReplaced)
{
    writeBytes(iniPath(), "[setting]\nDLtot=42\n");
    const qint64 size = IniFileStore::kMaxFileBytes + 1;
    ASSERT_TRUE(QFile::resize(iniPath(), size));
    testsupport::TextStore store(iniPath());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("1")),
              QStringLiteral("1"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("larger than"), std::string::npos);
    bool written = true;
    expectOneFailureLine(
        stderrOfWrite(store, QStringLiteral("DLtot"), QStringLiteral("5"), written));
    EXPECT_FALSE(written);
    EXPECT_EQ(QFileInfo(iniPath()).size(), size);
}

// An 8,388,598-byte store became 8,388,690 bytes at quit, and the next start
// refused to read it.
TEST_F(IniFileStoreTest, ASaveThatWouldPassTheReadLimitIsRefusedAndLeavesTheFile)
{
    // Qt writes each hand-edited "a,b" back as "a, b": one byte more a line.
    const auto limit = static_cast<qsizetype>(IniFileStore::kMaxFileBytes);
    QByteArray contents = "[setting]\nDLtot=42\n";
    for (int line = 0; contents.size() + 16 < limit - 100; ++line)
        contents += 'k' + QByteArray::number(line) + "=a,b\n";
    contents += QByteArray(limit - 100 - contents.size(), '#') + '\n';
    writeBytes(iniPath(), contents);
    testsupport::TextStore store(iniPath());
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("k7"), {}), QStringLiteral("a,b"));
    bool written = true;
    const std::string printed =
        stderrOfWrite(store, QStringLiteral("DLtot"), QStringLiteral("43"), written);
    expectOneFailureLine(printed);
    EXPECT_NE(printed.find("more than the 8388608 bytes Kuvell reads"), std::string::npos)
        << printed;
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(iniPath()), contents);
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("42"));
}

// A UTF-16 store was rewritten as [General] junk at start-up, its values lost.
TEST_F(IniFileStoreTest, AFileInAnotherEncodingReadsAsDefaultsAndIsNeverWritten)
{
    const auto utf16 = [](QStringConverter::Encoding encoding) {
        return QByteArray(QStringEncoder(
            encoding, QStringConverter::Flag::WriteBom)(QStringLiteral("[setting]\nDLtot=42\n")));
    };
    const QByteArray files[][2] = {
        {utf16(QStringConverter::Utf16LE), "UTF-16"},
        {utf16(QStringConverter::Utf16BE), "UTF-16"},
        {QByteArray("\xFF\xFE\0\0[\0\0\0", 8), "UTF-32"},
        {QByteArray("[setting]\nDLtot=4\0\n", 20), "NUL bytes"},
    };
    for (const auto& [contents, why] : files) {
        writeBytes(iniPath(), contents);
        testsupport::TextStore store(iniPath());
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("1")),
                  QStringLiteral("1"));
        const std::string warning = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warning.find(iniPath().toStdString()), std::string::npos) << warning;
        EXPECT_NE(warning.find(why.toStdString()), std::string::npos) << warning;
        bool written = true;
        const std::string failure =
            stderrOfWrite(store, QStringLiteral("DLtot"), QStringLiteral("5"), written);
        expectOneFailureLine(failure);
        EXPECT_NE(failure.find(why.toStdString()), std::string::npos) << failure;
        EXPECT_FALSE(written);
        EXPECT_EQ(readBytes(iniPath()), contents);
    }

    // Stray bytes inside a value, and a UTF-8 mark, are still the file's text.
    writeBytes(iniPath(), "\xEF\xBB\xBF[setting]\nlist=a, b\nautostart=\xFF\xFE\x01x\n");
    testsupport::TextStore store(iniPath());
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("list"), {}), QStringLiteral("a, b"));
    EXPECT_TRUE(store.writeSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("5")));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("autostart"), {}).size(), 4);
}

// Saved by root, a user's file used to become root's, and a linked file a copy.
TEST_F(IniFileStoreTest, ASaveKeepsTheOwnerTheModeAndTheLink)
{
    writeBytes(iniPath(), "[setting]\nDLtot=42\n");
    ASSERT_TRUE(QFile::setPermissions(
        iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const bool asRoot = ::geteuid() == 0;
    const uid_t owner = asRoot ? 65534 : ::geteuid();  // nobody
    const QByteArray localIni = QFile::encodeName(iniPath());
    if (asRoot) {
        ASSERT_EQ(::chown(localIni.constData(), owner, static_cast<gid_t>(-1)), 0);
    }

    testsupport::TextStore store(iniPath());
    ASSERT_TRUE(store.writeSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("43")));
    struct stat info
    {
    };
    ASSERT_EQ(::stat(localIni.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("43"));

    const QString link = pathIn(QStringLiteral("linked/kuvell.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(link).absolutePath()));
    ASSERT_TRUE(QFile::link(iniPath(), link));
    testsupport::TextStore linked(link);
    ASSERT_TRUE(linked.writeSetting(kSetting, QStringLiteral("ULtot"), QStringLiteral("7")));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("ULtot"), {}), QStringLiteral("7"));
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("43"));
}

// A lock folder made every save wait for ever; an empty lock file froze it for 32 s,
// and one left a moment ago by a killed save failed the next save for ten.
TEST_F(IniFileStoreTest, ALeftOverLockIsTakenOverAndALockThatCannotBeHadFailsTheSave)
{
    testsupport::TextStore store(iniPath());
    const QString lockPath = iniPath() + QStringLiteral(".lock");
    writeBytes(lockPath, QByteArray());  // left by a crash long ago
    {
        QFile lock(lockPath);
        ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
        ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                     QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(store.writeSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("4")));
    writeBytes(lockPath, QByteArray());  // a save killed a moment ago, before it wrote its id
    EXPECT_TRUE(store.writeSetting(kSetting, QStringLiteral("DLtot"), QStringLiteral("5")));

    {
        QLockFile held(lockPath);  // another copy of Kuvell in the middle of its save
        ASSERT_TRUE(held.tryLock(0));
        bool written = true;
        const std::string printed =
            stderrOfWrite(store, QStringLiteral("DLtot"), QStringLiteral("6"), written);
        expectOneFailureLine(printed);
        EXPECT_NE(printed.find(lockPath.toStdString()), std::string::npos) << printed;
        EXPECT_FALSE(written);
    }

    ASSERT_FALSE(QFileInfo::exists(lockPath));  // released by its holder
    ASSERT_TRUE(QDir().mkpath(lockPath));
    bool written = true;
    expectOneFailureLine(
        stderrOfWrite(store, QStringLiteral("DLtot"), QStringLiteral("7"), written));
    EXPECT_FALSE(written);
    EXPECT_TRUE(QFileInfo(lockPath).isDir());
    EXPECT_EQ(store.readSetting(kSetting, QStringLiteral("DLtot"), {}), QStringLiteral("5"));
}

// A codec that keeps what reached it, so the one-pass reader's share shows.
class RecordingCodec : public IniCodec
{
  public:
    std::optional<Values> decode(std::string_view bytes, std::string& problem) const override
    {
        decoded.emplace_back(bytes);
        if (!values) problem = "the codec failed";
        return values;
    }
    std::optional<std::string> encode(std::string_view bytes, std::span<const StoreChange> changes,
                                      std::string&) const override
    {
        std::string result(bytes);
        for (const StoreChange& change : changes) {
            result.append("[").append(change.key.section).append("]\n");
            result.append(change.key.name).append("=").append(change.text).append("\n");
        }
        return result;
    }
    // Removing is not this codec's part: it hands back what would not read as removed.
    std::optional<std::string> encodeRemoval(std::string_view bytes, KeyName,
                                             std::string&) const override
    {
        return std::string(bytes);
    }

    std::optional<Values> values;
    mutable std::vector<std::string> decoded;
};

TEST_F(IniFileStoreTest, OnlyLinesThatAreNotLiteralGoToTheCodecAndItsFailureReadsAsEmpty)
{
    RecordingCodec codec;
    std::vector<std::string> warnings;
    IniFileStore store(iniPath().toStdString(), codec,
                       [&warnings](std::string_view warning) { warnings.emplace_back(warning); });
    const QByteArray file = "[setting]\nDLtot=5\nquoted=\"x\"\n[options]\nplain=1";
    writeBytes(iniPath(), file);
    codec.values = IniCodec::Values{{"setting/quoted", "x"}};
    EXPECT_EQ(store.readText({"setting", "DLtot"}), "5");
    EXPECT_EQ(store.readText({"setting", "quoted"}), "x");
    EXPECT_EQ(store.readText({"options", "plain"}), "1");
    EXPECT_EQ(codec.decoded, std::vector<std::string>{"[setting]\nquoted=\"x\"\n"});

    // A new key is the codec's spelling added after the file's own bytes.
    ASSERT_TRUE(store.writeTexts(std::vector<StoreChange>{{{"options", "new"}, "v"}}));
    EXPECT_EQ(readBytes(iniPath()), file + "\n[options]\nnew=v\n");
    EXPECT_EQ(store.readText({"options", "new"}), "v");

    // Where the codec names a key a literal line names too, it reads the whole file.
    codec.values = IniCodec::Values{{"setting/quoted", "x"}, {"setting/DLtot", "6"}};
    writeBytes(iniPath(), file + '\n');
    EXPECT_EQ(store.readText({"setting", "DLtot"}), "6");
    EXPECT_EQ(codec.decoded.back(), (file + '\n').toStdString());
    EXPECT_EQ(store.readText({"options", "plain"}), std::nullopt);

    codec.values.reset();
    writeBytes(iniPath(), file);
    EXPECT_EQ(store.readText({"setting", "DLtot"}), std::nullopt);
    EXPECT_EQ(store.readText({"options", "plain"}), std::nullopt);
    const std::string path = iniPath().toStdString();
    EXPECT_FALSE(store.writeTexts(std::vector<StoreChange>{{{"setting", "DLtot"}, "7"}}));
    EXPECT_EQ(readBytes(iniPath()), file);
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "cannot read " + path + ": the codec failed; the defaults are used",
                            "could not save setting/DLtot to " + path + ": the codec failed"}));

    // A removal whose result still holds the key is refused, the file as it was.
    codec.values = IniCodec::Values{{"setting/quoted", "x"}};
    const QByteArray readable = file + "\n[options]\nextra=2\n";
    writeBytes(iniPath(), readable);
    EXPECT_FALSE(store.removeText({"setting", "DLtot"}));
    EXPECT_EQ(warnings.back(), "could not remove setting/DLtot from " + path +
                                   ": the key was still there after its removal");
    EXPECT_EQ(readBytes(iniPath()), readable);
}

}  // namespace
}  // namespace kuvell
