// SPDX-License-Identifier: MIT
#include "platform/RegularFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace kuvell {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;  // and nogroup, which is not nobody's own group

class RegularFileTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_NE(::mkdtemp(root_.data()), nullptr); }
    void TearDown() override { fs::remove_all(root_); }
    // A folder or file under the test's own, with exactly this mode.
    std::string make(const std::string& name, mode_t mode, const char* bytes = nullptr) const
    {
        const std::string path = root_ + "/" + name;
        bytes != nullptr ? static_cast<void>(std::ofstream(path) << bytes)
                         : static_cast<void>(fs::create_directories(path));
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }
    static std::string bytesOf(const std::string& path)
    {
        std::ostringstream bytes;
        bytes << std::ifstream(path).rdbuf();
        return bytes.str();
    }
    std::string root_ = fs::temp_directory_path() / "kuvell-file-XXXXXX";
};

// A link another user planted in a folder everyone may write to made a save
// replace the victim's ~/.profile; a sticky bit stops no one planting first.
TEST_F(RegularFileTest, WhatOthersCanChangeIsNeitherReadNorReplaced)
{
    const std::string profile = make("profile", 0644, "export PATH=/usr/bin\n");
    const std::string open = make("open.ini", 0666, "[setting]\n");
    for (const mode_t mode : {0777, 01777, 0775, 0700}) {
        const std::string shared = make("shared" + std::to_string(mode), mode);
        ASSERT_EQ(::chown(shared.c_str(), -1, kNobody), 0);
        const std::string ini = shared + "/kuvell.ini";
        // In the user's own folder, a link to a file anyone can write is refused too.
        ASSERT_EQ(::symlink((mode == 0700 ? open : profile).c_str(), ini.c_str()), 0);
        const FileRead read = readRegularFile(ini, 1 << 20);
        EXPECT_EQ(read.outcome, FileReadOutcome::Untrusted) << mode;
        EXPECT_NE(read.reason.find(mode == 0700 ? "open.ini, can be changed by every user"
                                                : shared + " can be changed by "),
                  std::string::npos)
            << read.reason;
        EXPECT_EQ(untrustedFolderReason(ini).empty(), mode == 0700);
        EXPECT_FALSE(replaceRegularFile(ini, "[setting]\n"));
    }
    EXPECT_EQ(bytesOf(profile), "export PATH=/usr/bin\n");
}

// Another user's file was read through a link in the user's own folder, and
// root followed a user's link to root's own files.
TEST_F(RegularFileTest, ALinkLeadsOnlyToTheFilesOfItsOwnUser)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a second user's files";
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    const std::string theirs = make("theirs.ini", 0644, "[setting]\n");
    ASSERT_EQ(::chown(theirs.c_str(), 4242, 4242), 0);
    const std::string shadow = make("shadow", 0600, "secret\n");
    const std::string mine = make("mine", 0700);
    ASSERT_EQ(::chown(mine.c_str(), kNobody, kNobody), 0);
    for (const std::string& target : {theirs, shadow}) {
        ASSERT_EQ(::symlink(target.c_str(), (mine + "/kuvell.ini").c_str()), 0);
        ASSERT_EQ(::lchown((mine + "/kuvell.ini").c_str(), kNobody, kNobody), 0);
        const pid_t child = ::fork();
        if (child == 0) {  // nobody for the other user's file, root for root's
            if (target == theirs && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
            const FileRead read = readRegularFile(mine + "/kuvell.ini", 1 << 20);
            ::_exit(read.outcome == FileReadOutcome::Untrusted &&
                            !replaceRegularFile(mine + "/kuvell.ini", "x")
                        ? 0
                        : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << target;
        fs::remove(mine + "/kuvell.ini");
    }
    EXPECT_EQ(bytesOf(theirs) + bytesOf(shadow), "[setting]\nsecret\n");
}

// A save killed between writing its temporary file and the rename left the file behind.
TEST_F(RegularFileTest, LeftoversOfKilledSavesGoAtTheNextSaveAndNothingElseDoes)
{
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string ini = make("store", 0700) + "/kuvell.ini";
    const std::string ours = "store/.kuvell.ini.kuvell-tmp.";
    make(ours + std::to_string(gone) + ".17", 0600, "[set");
    make("store/.kuvell.ini.tmp-123456", 0600, "[set");  // as older releases named them
    const std::set<std::string> kept = {make(ours + "1.5", 0600, "x"),  // its process runs
                                        make("store/.other.ini.kuvell-tmp.1.9", 0600, "x"),
                                        make("store/.kuvell.ini.tmp-12ab", 0600, "x"), ini,
                                        root_ + "/" + ours + std::to_string(gone) + ".8"};
    ASSERT_EQ(::symlink(ini.c_str(), (root_ + "/" + ours + std::to_string(gone) + ".8").c_str()),
              0);  // a link is never followed or removed

    ASSERT_TRUE(replaceRegularFile(ini, "[setting]\nDLtot=3\n"));
    std::set<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_ + "/store"))
        left.insert(entry.path());
    EXPECT_EQ(left, kept);
    EXPECT_EQ(bytesOf(ini), "[setting]\nDLtot=3\n");
}

}  // namespace
}  // namespace kuvell
