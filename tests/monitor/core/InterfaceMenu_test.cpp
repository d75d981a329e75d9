// SPDX-License-Identifier: MIT
// The tray menu's interface list: what it offers, ticks and leaves out.
#include "monitor/core/InterfaceMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::TestTable;

constexpr uint32_t kOperational = 5;
constexpr uint32_t kDisconnected = 2;

std::vector<std::string> captions(const std::vector<InterfaceMenuEntry>& entries)
{
    std::vector<std::string> shown;
    for (const InterfaceMenuEntry& entry : entries) {
        shown.push_back((entry.ticked ? "[x] " : "[ ] ") + entry.caption +
                        (entry.choice ? " -> " + *entry.choice : " (not choosable)"));
    }
    return shown;
}

// lo, eth0 (described, up), wlan0 (down), docker0 (its alias is its name).
std::vector<uint8_t> laptopTable()
{
    TestTable table;
    table.addRow().name("lo").descr("lo\0", 3).put32(544, kOperational);
    table.addRow().name("eth0").physAddr({0x02, 0x01}).descr("Wired\0", 6).put32(544, kOperational);
    table.addRow().name("wlan0").physAddr({0x02, 0x02}).put32(544, kDisconnected);
    table.addRow().name("docker0").physAddr({0x02, 0x03}).descr("docker0", 7).put32(544, 4);
    return table.bytes();
}

TEST(InterfaceMenu, OffersAutomaticThenEveryInterfaceAndTicksTheChoice)
{
    const std::vector<uint8_t> bytes = laptopTable();
    const IfTableView table(bytes);
    EXPECT_EQ(captions(interfaceMenu(table, "")),
              (std::vector<std::string>{
                  "[x] Automatiskt -> ", "[ ] lo – uppe -> lo", "[ ] Wired (eth0) – uppe -> eth0",
                  "[ ] wlan0 – nere -> wlan0", "[ ] docker0 – uppe -> docker0"}));

    // A hand-edited description finds its row, as the tick measures it.
    const std::vector<InterfaceMenuEntry> byDescription = interfaceMenu(table, "Wired");
    EXPECT_FALSE(byDescription[0].ticked);
    EXPECT_TRUE(byDescription[2].ticked);
    EXPECT_EQ(byDescription.size(), 5u);

    // One that is gone stays listed, ticked, and choosing it again changes nothing.
    EXPECT_EQ(captions(interfaceMenu(table, "usb0")).back(), "[x] usb0 – saknas -> usb0");
    const std::vector<uint8_t> empty;
    EXPECT_EQ(captions(interfaceMenu(IfTableView(empty), "usb0")),
              (std::vector<std::string>{"[ ] Automatiskt -> ", "[x] usb0 – saknas -> usb0"}));
}

TEST(InterfaceMenu, ALongTableIsCutKeepingTheChosenRowAndSayingHowManyAreLeftOut)
{
    TestTable rows;
    for (int i = 0; i < 4000; ++i) rows.addRow().name("veth" + std::to_string(i)).physAddr({1});
    const std::vector<uint8_t> bytes = rows.bytes();
    const IfTableView table(bytes);

    const std::vector<InterfaceMenuEntry> automatic = interfaceMenu(table, "");
    ASSERT_EQ(automatic.size(), 1 + kInterfaceMenuRows + 1);
    EXPECT_EQ(automatic[kInterfaceMenuRows].caption, "veth29 – nere");
    EXPECT_EQ(automatic.back().caption, "Ytterligare 3970 visas inte");
    EXPECT_FALSE(automatic.back().choice);

    // The chosen row lies far down: it takes the last place, and the count holds.
    const std::vector<InterfaceMenuEntry> chosen = interfaceMenu(table, "veth3999");
    ASSERT_EQ(chosen.size(), automatic.size());
    EXPECT_EQ(chosen[kInterfaceMenuRows - 1].caption, "veth28 – nere");
    EXPECT_EQ(chosen[kInterfaceMenuRows].choice, "veth3999");
    EXPECT_TRUE(chosen[kInterfaceMenuRows].ticked);
    EXPECT_EQ(chosen.back().caption, "Ytterligare 3970 visas inte");

    // Exactly at the limit nothing is left out.
    EXPECT_EQ(interfaceMenu(table, "veth1", 4000).size(), 4001u);
    EXPECT_EQ(interfaceMenu(table, "veth5", 1).at(1).choice, "veth5");
}

TEST(InterfaceMenu, CaptionsAreOneLineOfReadableLength)
{
    TestTable rows;
    const std::string alias = "two\nlines\tand " + std::string(100, 'x');
    rows.addRow().name("eth0").physAddr({1}).descr(alias, static_cast<uint32_t>(alias.size()));
    rows.addRow().physAddr({1}).descr("nameless", 8);
    const std::vector<uint8_t> bytes = rows.bytes();
    const std::vector<InterfaceMenuEntry> entries = interfaceMenu(IfTableView(bytes), "");
    EXPECT_EQ(entries[1].caption, "two lines and " + std::string(46, 'x') + "… (eth0) – nere");
    EXPECT_EQ(entries[2].caption, "nameless – nere");
    EXPECT_FALSE(entries[2].choice) << "an empty name would read as the automatic choice";
}

}  // namespace
}  // namespace kuvell
