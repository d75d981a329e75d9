// SPDX-License-Identifier: MIT
#include "platform/RegularFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace kuvell {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;  // also nogroup, a group that is nobody's alone in name only

class RegularFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::string made = fs::temp_directory_path() / "kuvell-file-XXXXXX";
        ASSERT_NE(::mkdtemp(made.data()), nullptr);
        root_ = made;
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string folder(const std::string& name, mode_t mode) const
    {
        const std::string path = root_ + "/" + name;
        fs::create_directories(path);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);  // past the umask
        return path;
    }
    static std::string put(const std::string& path, const std::string& bytes, mode_t mode = 0644)
    {
        std::ofstream(path) << bytes;
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }
    static std::string bytesOf(const std::string& path)
    {
        std::ifstream file(path);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    std::string root_;
};

// A link another user planted in a folder everyone may write to made a save
// replace the victim's ~/.profile; a sticky bit stops no one planting first.
TEST_F(RegularFileTest, WhatOthersCanChangeIsNeitherReadNorReplaced)
{
    const std::string profile = put(folder("home", 0755) + "/.profile", "export PATH=/usr/bin\n");
    int n = 0;
    for (const mode_t mode : {0777, 01777, 0775}) {
        const std::string shared = folder("shared" + std::to_string(++n), mode);
        if (mode == 0775) {
            ASSERT_EQ(::chown(shared.c_str(), -1, kNobody), 0);
        }
        const std::string ini = shared + "/kuvell.ini";
        ASSERT_EQ(::symlink(profile.c_str(), ini.c_str()), 0);
        const FileRead read = readRegularFile(ini, 1 << 20);
        EXPECT_EQ(read.outcome, FileReadOutcome::Untrusted) << mode;
        EXPECT_EQ(read.reason.rfind("the folder " + shared + " can be changed by ", 0), 0u)
            << read.reason;
        EXPECT_EQ(untrustedFolderReason(ini), read.reason);
        EXPECT_FALSE(replaceRegularFile(ini, "[setting]\n").written);
    }
    EXPECT_EQ(bytesOf(profile), "export PATH=/usr/bin\n");

    // In the user's own folder, a file everyone can write, direct or linked, is not used either.
    const std::string mine = folder("mine", 0700);
    const std::string open = put(mine + "/open.ini", "[setting]\nDLtot=5\n", 0666);
    ASSERT_EQ(::symlink(open.c_str(), (mine + "/kuvell.ini").c_str()), 0);
    for (const std::string& path : {open, mine + "/kuvell.ini"}) {
        const FileRead read = readRegularFile(path, 1 << 20);
        EXPECT_EQ(read.outcome, FileReadOutcome::Untrusted);
        EXPECT_NE(read.reason.find("can be changed by every user"), std::string::npos);
        EXPECT_FALSE(replaceRegularFile(path, "[setting]\n").written);
    }
    EXPECT_EQ(bytesOf(open), "[setting]\nDLtot=5\n");
}

// Readable by all, another user's file was read (and would have been replaced
// where writable) through a link in the user's own folder; root followed a
// user's link anywhere.
TEST_F(RegularFileTest, AnotherUsersFileIsNotUsedThroughALink)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a second user's file";
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    const std::string theirs = put(folder("theirs", 0755) + "/kuvell.ini", "[setting]\n");
    ASSERT_EQ(::chown(theirs.c_str(), 4242, 4242), 0);
    const std::string mine = folder("mine", 0700);
    const std::string link = mine + "/kuvell.ini";
    ASSERT_EQ(::symlink(theirs.c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(mine.c_str(), kNobody, kNobody), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
        const FileRead read = readRegularFile(link, 1 << 20);
        const bool refused = read.outcome == FileReadOutcome::Untrusted &&
                             read.reason.find("belongs to 4242") != std::string::npos;
        ::_exit(refused && !replaceRegularFile(link, "x").written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(bytesOf(theirs), "[setting]\n");

    // Root works on a user's files, but a user's link to root's file is not followed.
    const std::string shadow = put(root_ + "/shadow", "secret\n", 0600);
    const std::string planted = mine + "/planted.ini";
    ASSERT_EQ(::symlink(shadow.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(readRegularFile(planted, 1 << 20).outcome, FileReadOutcome::Untrusted);
    EXPECT_FALSE(replaceRegularFile(planted, "x").written);
    EXPECT_EQ(bytesOf(shadow), "secret\n");
}

// A save killed between writing its temporary file and the rename left the file behind.
TEST_F(RegularFileTest, LeftoversOfKilledSavesGoAtTheNextSaveAndNothingElseDoes)
{
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string store = folder("store", 0700);
    const std::string ini = put(store + "/kuvell.ini", "[setting]\n");
    const std::string ours = store + "/.kuvell.ini.kuvell-tmp.";
    put(ours + std::to_string(gone) + ".17", "[set");
    put(store + "/.kuvell.ini.tmp-123456", "[set");  // named as older releases named them
    const std::string kept[] = {ours + "1.5",        // its process still runs
                                ours + std::to_string(gone) + ".8",
                                store + "/.other.ini.kuvell-tmp.1.9",
                                store + "/.kuvell.ini.tmp-12ab"};
    const std::string victim = put(root_ + "/victim", "mine\n");
    ASSERT_EQ(::symlink(victim.c_str(), kept[1].c_str()),
              0);  // a link is never followed or removed
    for (const std::string& path : {kept[0], kept[2], kept[3]}) put(path, "x");

    ASSERT_TRUE(replaceRegularFile(ini, "[setting]\nDLtot=3\n").written);
    std::set<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(store))
        left.insert(entry.path());
    EXPECT_EQ(left, std::set<std::string>({ini, kept[0], kept[1], kept[2], kept[3]}));
    EXPECT_EQ(bytesOf(ini), "[setting]\nDLtot=3\n");
    EXPECT_EQ(bytesOf(victim), "mine\n");
}

}  // namespace
}  // namespace kuvell
