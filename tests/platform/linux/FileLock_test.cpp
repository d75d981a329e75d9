// SPDX-License-Identifier: MIT
#include "platform/FileLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kuvell {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class FileLockTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(::mkdtemp(root_.data()), nullptr);
        lockPath = root_ + "/kuvell.ini.lock";
    }
    void TearDown() override { fs::remove_all(root_); }

    void plant(const std::string& contents) const { std::ofstream(lockPath) << contents; }
    static std::string contentsOf(const std::string& path)
    {
        std::ostringstream bytes;
        bytes << std::ifstream(path).rdbuf();
        return bytes.str();
    }
    static std::string host()
    {
        char name[256] = {};
        ::gethostname(name, sizeof name - 1);
        return name;
    }
    // Takes the lock and says how long that took.
    static double secondsToTake(FileLock& lock, Result& result)
    {
        const auto start = Clock::now();
        result = lock.take();
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    std::string root_ = fs::temp_directory_path() / "kuvell-lock-XXXXXX";
    std::string lockPath;
    const std::string ownLine = std::to_string(::getpid()) + "\nkuvell\n" + host() + "\n";
};

TEST_F(FileLockTest, ALockIsWrittenAsQtWritesOneAndRemovedWhenReleased)
{
    {
        FileLock lock(lockPath);
        ASSERT_TRUE(lock.take());
        EXPECT_TRUE(lock.take());  // held already
        EXPECT_EQ(contentsOf(lockPath), ownLine);
        struct stat info
        {
        };
        ASSERT_EQ(::lstat(lockPath.c_str(), &info), 0);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        EXPECT_EQ(info.st_mode & 07777, 0644u & ~mask);
    }
    EXPECT_FALSE(fs::exists(lockPath));
}

// A crashed save left its lock behind: the next save takes it over at once.
TEST_F(FileLockTest, ALockOfAProcessThatIsGoneOrTooOldIsTakenOverAtOnce)
{
    for (const bool old : {false, true}) {
        // No process has the largest id; a live one (this) holds the old lock.
        plant(old ? ownLine : "2147483647\nkuvell\n" + host() + "\n");
        if (old) {
            fs::last_write_time(lockPath,
                                fs::file_time_type::clock::now() - std::chrono::minutes(1));
        }
        FileLock lock(lockPath);
        Result result;
        EXPECT_LT(secondsToTake(lock, result), 1.0) << old;
        EXPECT_TRUE(result) << result.reason;
        EXPECT_EQ(contentsOf(lockPath), ownLine);
    }
}

TEST_F(FileLockTest, AnEmptyLockIsTakenOverOnlyAfterTheWait)
{
    plant("");
    FileLock lock(lockPath);
    Result result;
    EXPECT_GE(secondsToTake(lock, result), 1.9);
    EXPECT_TRUE(result) << result.reason;
    EXPECT_EQ(contentsOf(lockPath), ownLine);
}

TEST_F(FileLockTest, ALiveHolderFailsTheSecondLockAfterTheWait)
{
    // Another machine's process id says nothing about this one's processes.
    const std::string elsewhere = "2147483647\nkuvell\nnot-" + host() + "\n";
    for (const bool held : {true, false}) {
        FileLock first(lockPath);
        if (held) {
            ASSERT_TRUE(first.take());
        } else {
            plant(elsewhere);
        }
        FileLock second(lockPath);
        Result result;
        EXPECT_GE(secondsToTake(second, result), 1.9);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.reason, "the lock file " + lockPath + " is held by another program");
        EXPECT_EQ(contentsOf(lockPath), held ? ownLine : elsewhere);
        fs::remove(lockPath);
    }
}

TEST_F(FileLockTest, ALinkOrAFolderIsNeverALockAndAMissingFolderIsReported)
{
    const std::string target = root_ + "/target";
    std::ofstream(target) << "keep";
    for (const std::string& linked : {target, root_ + "/missing"}) {
        fs::create_symlink(linked, lockPath);
        FileLock lock(lockPath);
        const Result result = lock.take();
        EXPECT_EQ(result.reason, "the lock file " + lockPath + " is not a regular file");
        EXPECT_TRUE(fs::is_symlink(lockPath));
        fs::remove(lockPath);
    }
    EXPECT_EQ(contentsOf(target), "keep");
    EXPECT_FALSE(fs::exists(root_ + "/missing"));

    fs::create_directory(lockPath);
    EXPECT_EQ(FileLock(lockPath).take().reason,
              "the lock file " + lockPath + " is not a regular file");
    EXPECT_TRUE(fs::is_directory(lockPath));

    const std::string noFolder = root_ + "/none/kuvell.ini.lock";
    EXPECT_EQ(FileLock(noFolder).take().reason,
              "the lock file " + noFolder + " cannot be created: No such file or directory");
}

}  // namespace
}  // namespace kuvell
