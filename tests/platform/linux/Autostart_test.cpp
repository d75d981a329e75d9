// SPDX-License-Identifier: MIT
#include "platform/Autostart.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace kuvell {
namespace {

namespace fs = std::filesystem;

class Autostart : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_NE(::mkdtemp(config_.data()), nullptr); }
    void TearDown() override { fs::remove_all(config_); }

    std::string filePath(const std::string& name) const { return config_ + "/" + name; }
    std::string entryPath() const { return filePath("autostart/kuvell.desktop"); }

    std::vector<std::string> entryLines() const
    {
        std::ifstream file(entryPath());
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty()) lines.push_back(line);
        }
        return lines;
    }

    std::string execLine() const
    {
        std::optional<std::string> exec;
        for (const std::string& line : entryLines()) {
            if (line.starts_with("Exec=")) {
                if (exec) return {};
                exec = line.substr(5);
            }
        }
        return exec.value_or(std::string());
    }

    std::string config_ = fs::temp_directory_path() / "kuvell-autostart-XXXXXX";
};

// What a desktop reads back from an Exec value holding one quoted program:
// the string escapes first, then the quoting, then the "%%" field code.
std::string programOf(const std::string& exec)
{
    std::string unescaped;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            const char next = exec[++i];
            unescaped += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            unescaped += exec[i];
        }
    }
    if (unescaped.size() < 2 || unescaped.front() != '"' || unescaped.back() != '"') {
        return {};
    }
    std::string program;
    for (std::size_t i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == '\\') {
            ++i;
        } else if (unescaped[i] == '"') {
            return {};  // an unescaped quote would end the argument early
        } else if (unescaped[i] == '%' && unescaped[i + 1] == '%') {
            ++i;
        }
        program += unescaped[i];
    }
    return program;
}

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST_F(Autostart, WritesAnApplicationEntryCreatingItsFolder)
{
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    const std::vector<std::string> lines = entryLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "[Desktop Entry]");
    const std::set<std::string> keys(lines.begin(), lines.end());
    EXPECT_TRUE(keys.contains("Type=Application"));
    EXPECT_TRUE(keys.contains("Name=Kuvell"));
    EXPECT_EQ(execLine(), "\"/opt/kuvell/bin/kuvell\"");
}

TEST_F(Autostart, RewritingLeavesOneEntryWithTheNewPath)
{
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(writeRunValue(entryPath(), "/home/anna/bin/kuvell"));
    EXPECT_EQ(execLine(), "\"/home/anna/bin/kuvell\"");
    // No leftover temporary files beside the entry.
    EXPECT_EQ(namesIn(filePath("autostart")), std::set<std::string>{"kuvell.desktop"});
}

TEST_F(Autostart, DeletingRemovesTheEntryAndAMissingOneIsFine)
{
    EXPECT_TRUE(deleteRunValue(entryPath()));  // nothing there yet, not even the folder
    ASSERT_TRUE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));
    EXPECT_TRUE(deleteRunValue(entryPath()));
    EXPECT_FALSE(fs::exists(entryPath()));
    EXPECT_TRUE(deleteRunValue(entryPath()));
}

TEST_F(Autostart, ReportsWhatCouldNotBeWrittenOrRemoved)
{
    // A file where the folder should be cannot be worked around, not even by root.
    ASSERT_TRUE(std::ofstream(filePath("autostart")));
    EXPECT_FALSE(writeRunValue(entryPath(), "/opt/kuvell/bin/kuvell"));

    // A folder in the entry's place can be neither replaced nor removed.
    const std::string occupied = filePath("elsewhere/kuvell.desktop");
    ASSERT_TRUE(fs::create_directories(occupied));
    EXPECT_FALSE(writeRunValue(occupied, "/opt/kuvell/bin/kuvell"));
    EXPECT_FALSE(deleteRunValue(occupied));
    EXPECT_TRUE(fs::is_directory(occupied));

    EXPECT_FALSE(writeRunValue(std::string(), "/opt/kuvell/bin/kuvell"));
    EXPECT_FALSE(writeRunValue(filePath("a/kuvell.desktop"), std::string()));
}

// A link planted in an autostart folder others can change made the entry replace its target.
TEST_F(Autostart, IsNotWrittenThroughALinkInAFolderOthersCanChange)
{
    ASSERT_TRUE(writeRunValue(filePath("mine/kuvell.desktop"), "/opt/kuvell/bin/kuvell"));
    ASSERT_TRUE(fs::create_directories(filePath("autostart")));
    ASSERT_EQ(::chmod(filePath("autostart").c_str(), 0777), 0);
    fs::create_symlink(filePath("mine/kuvell.desktop"), entryPath());
    EXPECT_FALSE(writeRunValue(entryPath(), "/home/attacker/evil"));
    EXPECT_EQ(programOf(execLine()), "/opt/kuvell/bin/kuvell");
}

TEST_F(Autostart, KeepsPathsWithBlanksAndNonAsciiWhole)
{
    const std::string program = "/home/åsa/Mina program/网络 监视/kuvell";
    ASSERT_TRUE(writeRunValue(entryPath(), program));
    EXPECT_EQ(execLine(), '"' + program + '"');
    EXPECT_EQ(programOf(execLine()), program);
}

TEST_F(Autostart, EscapesEveryCharacterTheExecKeyReserves)
{
    const std::string program = "/opt/a\"b$c\\d%e`f'g;h&i|j*k?l#m(n)o~p<q>r";
    ASSERT_TRUE(writeRunValue(entryPath(), program));
    EXPECT_EQ(execLine(), "\"/opt/a\\\\\"b\\\\$c\\\\\\\\d%%e\\\\`f'g;h&i|j*k?l#m(n)o~p<q>r\"");
    EXPECT_EQ(programOf(execLine()), program);

    // A line break would end the value: it is written as an escape.
    const std::string broken = "/opt/two\nlines\tkuvell";
    ASSERT_TRUE(writeRunValue(entryPath(), broken));
    EXPECT_EQ(programOf(execLine()), broken);

    // Other control characters cannot be written at all; the old entry stays.
    EXPECT_FALSE(writeRunValue(entryPath(), "/opt/bell\a/kuvell"));
    EXPECT_EQ(programOf(execLine()), broken);
    // Nor can a path that is not UTF-8, which desktops refuse whole entries
    // for; its bytes used to be turned into U+FFFD, naming another program.
    for (const char* notUtf8 :
         {"/opt/\xff/kuvell", "/opt/\xc3", "/opt/\xc0\xaf", "/opt/\xed\xa0\x80"}) {
        EXPECT_FALSE(writeRunValue(entryPath(), notUtf8)) << notUtf8;
    }
    EXPECT_EQ(programOf(execLine()), broken);
}

TEST_F(Autostart, ARelativeProgramPathIsMadeAbsolute)
{
    ASSERT_TRUE(writeRunValue(entryPath(), "kuvell"));
    EXPECT_EQ(programOf(execLine()), (fs::current_path() / "kuvell").string());
}

// The variable's value, or nullopt when it is not set.
std::optional<std::string> environment(const char* name)
{
    const char* const value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void restoreEnvironment(const char* name, const std::optional<std::string>& value)
{
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
}

TEST(DefaultAutostartEntryPath, FollowsXdgConfigHome)
{
    const std::optional<std::string> savedConfig = environment("XDG_CONFIG_HOME");
    const std::optional<std::string> savedHome = environment("HOME");
    ::setenv("HOME", "/home//anna/", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/kuvell-config", 1);
    EXPECT_EQ(defaultAutostartEntryPath(), "/tmp/kuvell-config/autostart/kuvell.desktop");
    ::setenv("XDG_CONFIG_HOME", "/tmp//kuvell-config/./x/../", 1);  // cleaned, as a path
    EXPECT_EQ(defaultAutostartEntryPath(), "/tmp/kuvell-config/autostart/kuvell.desktop");
    // A relative value is not a valid base and falls back to ~/.config.
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(defaultAutostartEntryPath(), "/home/anna/.config/autostart/kuvell.desktop");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultAutostartEntryPath(), "/home/anna/.config/autostart/kuvell.desktop");
    restoreEnvironment("HOME", savedHome);
    restoreEnvironment("XDG_CONFIG_HOME", savedConfig);
}

// Last, as a replaced file is for good: the kernel's link then names a
// deleted file for the rest of the run.
TEST_F(Autostart, AnExecutableMovedOrReplacedWhileRunningIsWrittenWithItsPathNow)
{
    const std::string started = fs::canonical(KUVELL_TEST_PROGRAM);
    ASSERT_EQ(runningExecutablePath(), started);

    // Move this very test program aside, as a user moving Kuvell would.
    const std::string moved = started + ".moved";
    if (::rename(started.c_str(), moved.c_str()) != 0) {
        GTEST_SKIP() << "cannot rename " << started << " here";
    }
    const std::string seen = runningExecutablePath();
    const Result written = writeRunValue(entryPath(), seen);
    ASSERT_EQ(::rename(moved.c_str(), started.c_str()), 0);

    EXPECT_EQ(seen, moved);
    ASSERT_TRUE(written);
    EXPECT_EQ(programOf(execLine()), seen);

    // An upgrade deletes the running file and puts a new one at its path: the
    // entry should start that one.
    const std::string kept = started + ".kept";
    if (::link(started.c_str(), kept.c_str()) != 0) {
        GTEST_SKIP() << "cannot link " << started << " here";
    }
    ASSERT_EQ(::unlink(started.c_str()), 0);
    ASSERT_EQ(::rename(kept.c_str(), started.c_str()), 0);  // the same program under a new name
    EXPECT_EQ(runningExecutablePath(), started);
}

}  // namespace
}  // namespace kuvell
