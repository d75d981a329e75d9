// SPDX-License-Identifier: MIT
// Runs against this machine's real interfaces.
#include "stats/linux/NetlinkIfTableSource.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "stats/core/InterfaceTable.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

const std::filesystem::path kSysNet = "/sys/class/net";

std::optional<std::string> readLine(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    return line;
}

// The interface that should feed the counters, found from sysfs alone: the
// highest ifindex (the kernel dumps in ifindex order) among those with a
// hardware address that is not all zeros, loopback excluded.
std::optional<std::string> lastInterfaceWithHardwareAddress()
{
    std::optional<std::string> best;
    long bestIndex = -1;
    for (const auto& entry : std::filesystem::directory_iterator(kSysNet)) {
        const auto address = readLine(entry.path() / "address");
        const auto type = readLine(entry.path() / "type");
        const auto index = readLine(entry.path() / "ifindex");
        if (!address || !index || type == "772") {
            continue;
        }
        const bool hasAddress = std::any_of(address->begin(), address->end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) && c != '0';
        });
        if (hasAddress && std::stol(*index) > bestIndex) {
            bestIndex = std::stol(*index);
            best = entry.path().filename().string();
        }
    }
    return best;
}

uint32_t lowBits(const std::string& interface, const char* counter)
{
    const auto text = readLine(kSysNet / interface / "statistics" / counter);
    return static_cast<uint32_t>(std::stoull(text.value_or("0")));
}

TEST(NetlinkIfTableSource, SizeQueryAndFillServeOneDumpOfTheRealLinks)
{
    NetlinkIfTableSource source;
    uint32_t size = 0;
    ASSERT_EQ(source.getIfTable(nullptr, size, false), IfTableResult::BufferTooSmall);
    ASSERT_GE(size, 4u + 860u) << "at least the loopback row";
    ASSERT_EQ((size - 4) % 860, 0u);

    std::vector<uint8_t> table(size);
    uint32_t tooSmall = size - 1;
    EXPECT_EQ(source.getIfTable(table.data(), tooSmall, false), IfTableResult::BufferTooSmall);
    EXPECT_EQ(tooSmall, size);
    ASSERT_EQ(source.getIfTable(table.data(), size, false), IfTableResult::Ok);
    const uint32_t rows = testsupport::read32(table, 0);
    ASSERT_EQ(4 + rows * 860, size);

    // Loopback (IANA type 24) declares no physical address; every row is in
    // ascending index order, as the kernel dumps them.
    bool sawLoopback = false;
    for (uint32_t i = 0; i < rows; ++i) {
        const std::size_t row = 4 + i * 860;
        if (testsupport::read32(table, row + 516) == 24) {
            sawLoopback = true;
            EXPECT_EQ(testsupport::read32(table, row + 528), 0u);
        }
        if (i > 0) {
            EXPECT_LT(testsupport::read32(table, row - 860 + 512),
                      testsupport::read32(table, row + 512));
        }
    }
    EXPECT_TRUE(sawLoopback);

    // A fill without a size query dumps afresh instead of failing.
    std::vector<uint8_t> again(size + 4 * 860);
    uint32_t againSize = static_cast<uint32_t>(again.size());
    EXPECT_EQ(source.getIfTable(again.data(), againSize, true), IfTableResult::Ok);
}

TEST(NetlinkIfTableSource, CountersAreThoseOfTheLastInterfaceWithAHardwareAddress)
{
    const auto interface = lastInterfaceWithHardwareAddress();
    if (!interface) {
        GTEST_SKIP() << "this machine has no interface with a hardware address";
    }
    const uint32_t rxBefore = lowBits(*interface, "rx_bytes");
    const uint32_t txBefore = lowBits(*interface, "tx_bytes");
    InterfaceTable helper(std::make_shared<NetlinkIfTableSource>(), nullptr);
    const auto records = helper.interfaces();
    const uint32_t rxAfter = lowBits(*interface, "rx_bytes");
    const uint32_t txAfter = lowBits(*interface, "tx_bytes");

    // Modulo 2^32, the snapshot's counter lies between the two readings.
    const auto between = [](int32_t value, uint32_t before, uint32_t after) {
        return static_cast<uint32_t>(value) - before <= after - before;
    };
    EXPECT_TRUE(between(helper.bytesReceived(), rxBefore, rxAfter))
        << *interface << ": " << rxBefore << " <= " << static_cast<uint32_t>(helper.bytesReceived())
        << " <= " << rxAfter;
    EXPECT_TRUE(between(helper.bytesSent(), txBefore, txAfter))
        << *interface << ": " << txBefore << " <= " << static_cast<uint32_t>(helper.bytesSent())
        << " <= " << txAfter;

    const auto loopback = std::find_if(records->begin(), records->end(), [](const auto& r) {
        return r->interfaceDescription() == std::string("lo\0", 3);
    });
    ASSERT_NE(loopback, records->end());
    EXPECT_EQ((*loopback)->adapterAddress(), "") << "no address: only the description is set";
    EXPECT_EQ((*loopback)->interfaceIndex(), 0);
}

// The real links, with speed and wireless read from a sysfs of the test's own.
TEST(NetlinkIfTableSource, SpeedAndWirelessComeFromSysfsPerLink)
{
    const auto fakeSysfs = std::filesystem::temp_directory_path() /
                           ("kuvell-netlink-sysfs-" + std::to_string(::getpid()));
    const auto links = NetlinkIfTableSource().dumpLinks();
    ASSERT_TRUE(links.has_value());
    ASSERT_FALSE(links->empty());
    for (const LinkRow& link : *links) {
        std::filesystem::create_directories(fakeSysfs / link.name);
        std::ofstream(fakeSysfs / link.name / "speed") << "2500\n";
    }
    const std::string lastName = links->back().name;
    std::filesystem::create_directories(fakeSysfs / lastName / "wireless");

    NetlinkIfTableSource source(fakeSysfs);
    const auto first = source.dumpLinks();
    std::filesystem::remove_all(fakeSysfs / lastName / "wireless");
    const auto second = source.dumpLinks();
    std::filesystem::remove_all(fakeSysfs);
    ASSERT_TRUE(first && second);
    ASSERT_EQ(first->size(), links->size());
    for (const LinkRow& row : *first) {
        const bool upAndNotLoopback = row.adminStatus == 1 && row.type != 24;
        EXPECT_EQ(row.speed, upAndNotLoopback ? 2'500'000'000u : 0u) << row.name;
        EXPECT_EQ(row.type == 71, row.name == lastName) << row.name;
        const std::string alias = readLine(kSysNet / row.name / "ifalias").value_or("");
        EXPECT_EQ(row.description, alias.empty() ? row.name : alias) << row.name;
    }
    EXPECT_EQ(second->back().type, 71u) << "a link's wireless nature is asked once";
}

uint32_t speedOf(NetlinkIfTableSource& source, const std::string& name)
{
    const auto links = source.dumpLinks();
    const auto link = std::find_if(links->begin(), links->end(),
                                   [&](const LinkRow& row) { return row.name == name; });
    return link != links->end() ? link->speed : UINT32_MAX;
}

// Runs in a child with a network namespace of its own, so the links it makes
// and changes are nobody else's; it reports what went wrong and exits 0 if nothing did.
[[noreturn]] void checkSpeedReadsInANamespaceOfItsOwn(const std::filesystem::path& fakeSysfs)
{
    const auto ip = [](const std::string& arguments) {
        return std::system(("ip " + arguments + " >/dev/null 2>&1").c_str()) == 0;
    };
    const auto writeSpeed = [&](const std::string& name, const char* mbits) {
        std::filesystem::create_directories(fakeSysfs / name);
        std::ofstream(fakeSysfs / name / "speed") << mbits << "\n";
    };
    if (::unshare(CLONE_NEWNET) != 0 || !ip("link add kv0 type veth peer name kv1")) {
        std::cerr << "no network namespace or veth pair could be made\n";
        std::exit(2);
    }
    std::string failures;
    const auto expectSpeed = [&](NetlinkIfTableSource& source, const std::string& name,
                                 uint32_t expected, const char* when) {
        const uint32_t speed = speedOf(source, name);
        if (speed != expected) {
            failures += name + " " + when + ": " + std::to_string(speed) + " instead of " +
                        std::to_string(expected) + "\n";
        }
    };
    writeSpeed("kv0", "1000");
    ip("link set kv0 up");
    NetlinkIfTableSource source(fakeSysfs);
    expectSpeed(source, "kv0", 1'000'000'000u, "once up");
    writeSpeed("kv0", "2500");
    expectSpeed(source, "kv0", 1'000'000'000u, "with its flags unchanged");
    ip("link set kv1 up");  // kv0 gets a carrier: its flags change
    expectSpeed(source, "kv0", 2'500'000'000u, "after its carrier came");

    writeSpeed("kv2", "100");
    ip("link add kv2 up type veth peer name kv3");
    expectSpeed(source, "kv2", 100'000'000u, "as soon as it appeared");
    ip("link set kv2 down");
    expectSpeed(source, "kv2", 0u, "once down");
    std::cerr << failures;
    std::exit(failures.empty() ? 0 : 1);
}

// Speeds are read when a link appears and when its flags change, not every snapshot.
TEST(NetlinkIfTableSource, SpeedIsReadForANewLinkAndAgainWhenItsFlagsChange)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making links needs root";
    }
    const auto fakeSysfs = std::filesystem::temp_directory_path() /
                           ("kuvell-netlink-speeds-" + std::to_string(::getpid()));
    EXPECT_EXIT(checkSpeedReadsInANamespaceOfItsOwn(fakeSysfs), testing::ExitedWithCode(0), "");
    std::filesystem::remove_all(fakeSysfs);
}

}  // namespace
}  // namespace kuvell
