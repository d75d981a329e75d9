// SPDX-License-Identifier: MIT
#include "stats/linux/SysfsNet.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kuvell {
namespace {

class SysfsNetTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        root_ =
            std::filesystem::temp_directory_path() / ("kuvell-sysfs-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    void write(const std::string& relative, const std::string& text)
    {
        std::filesystem::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << text;
    }

    std::filesystem::path root_;
};

TEST_F(SysfsNetTest, ReadsSpeedAfreshAndTreatsTheUnknownAsZero)
{
    const SysfsNet sysfs(root_);
    write("eth0/speed", "1000\n");
    write("veth1/speed", "-1\n");
    write("big/speed", std::string(100, '9'));  // longer than any speed: cut, still a number
    std::filesystem::create_directories(root_ / "dummy");
    EXPECT_EQ(sysfs.speedBits("eth0"), 1'000'000'000u);
    EXPECT_EQ(sysfs.speedBits("veth1"), 0u);
    EXPECT_EQ(sysfs.speedBits("dummy"), 0u) << "no speed file";
    EXPECT_EQ(sysfs.speedBits("missing"), 0u);
    EXPECT_EQ(sysfs.speedBits("big"), 4'294'967'295u);
    write("eth0/speed", "100\n");
    EXPECT_EQ(sysfs.speedBits("eth0"), 100'000'000u) << "never cached";
}

TEST_F(SysfsNetTest, WirelessIsTheWirelessEntryAndNamesCannotLeaveTheRoot)
{
    write("net/wlan0/wireless/phy", "");
    write("net/eth0/speed", "10\n");
    // Reachable only through names such as "", "." or "../outside".
    write("net/speed", "10\n");
    write("net/wireless/phy", "");
    write("outside/speed", "10\n");
    write("outside/wireless/phy", "");
    const SysfsNet sysfs(root_ / "net");
    EXPECT_TRUE(sysfs.isWireless("wlan0"));
    EXPECT_FALSE(sysfs.isWireless("eth0"));
    EXPECT_EQ(sysfs.speedBits("eth0"), 10'000'000u);
    using namespace std::string_view_literals;
    for (const std::string_view bad : {""sv, "."sv, "../outside"sv, "eth0/.."sv, "eth0\0"sv}) {
        EXPECT_EQ(sysfs.speedBits(bad), 0u) << bad;
        EXPECT_FALSE(sysfs.isWireless(bad)) << bad;
    }
}

}  // namespace
}  // namespace kuvell
