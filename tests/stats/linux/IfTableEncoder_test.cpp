// SPDX-License-Identifier: MIT
#include "stats/linux/IfTableEncoder.h"

#include <gtest/gtest.h>

#include <string>

#include "stats/core/IfTableParser.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

LinkRow eth()
{
    LinkRow row;
    row.name = "eth0";
    row.description = "uplink caf\xC3\xA9";
    row.index = 2;
    row.type = 6;
    row.mtu = 1500;
    row.speed = 1'000'000'000;
    row.physAddr = {0x02, 0x42, 0xAC, 0x11, 0x00, 0x02};
    row.adminStatus = 1;
    row.operStatus = 5;
    row.inOctets = 0x1'0000'0005ULL;
    row.outOctets = 0xFFFF'FFFF'FFFF'FFFFULL;
    row.inUcastPkts = 11;
    row.outErrors = 12;
    return row;
}

TEST(IfTableEncoder, WritesEachFieldAtItsOffset)
{
    LinkRow lo;
    lo.name = "lo";
    lo.description = "lo";
    lo.index = 1;
    const std::vector<LinkRow> rows{lo, eth()};
    const std::vector<uint8_t> table = encodeIfTable(rows);
    ASSERT_EQ(table.size(), 4u + 2 * 860);
    EXPECT_EQ(testsupport::read32(table, 0), 2u);
    const std::size_t row = 4 + 860;
    EXPECT_EQ(std::string(table.begin() + row, table.begin() + row + 10), std::string("e\0t\0h\0"
                                                                                      "0\0\0\0",
                                                                                      10));
    EXPECT_EQ(testsupport::read32(table, row + 512), 2u);
    EXPECT_EQ(testsupport::read32(table, row + 516), 6u);
    EXPECT_EQ(testsupport::read32(table, row + 520), 1500u);
    EXPECT_EQ(testsupport::read32(table, row + 524), 1'000'000'000u);
    EXPECT_EQ(testsupport::read32(table, row + 528), 6u);
    EXPECT_EQ(table[row + 532], 0x02);
    EXPECT_EQ(table[row + 537], 0x02);
    EXPECT_EQ(testsupport::read32(table, row + 540), 1u);
    EXPECT_EQ(testsupport::read32(table, row + 544), 5u);
    EXPECT_EQ(testsupport::read32(table, row + 552), 5u) << "low 32 bits of the 64-bit counter";
    EXPECT_EQ(testsupport::read32(table, row + 556), 11u);
    EXPECT_EQ(testsupport::read32(table, row + 576), 0xFFFFFFFFu);
    EXPECT_EQ(testsupport::read32(table, row + 592), 12u);
    EXPECT_EQ(testsupport::read32(table, row + 600), 12u) << "11 Latin-1 bytes and the NUL";
    EXPECT_EQ(std::string(table.begin() + row + 604, table.begin() + row + 616),
              std::string("uplink caf\xE9\0", 12));
    EXPECT_EQ(testsupport::read32(table, 4 + 528), 0u) << "loopback has no address";
}

TEST(IfTableEncoder, CutsLongTextsAndAddressesToTheirFields)
{
    LinkRow row = eth();
    row.name = std::string(300, 'n');
    row.description = std::string(300, 'd');
    row.physAddr = std::vector<uint8_t>(20, 0xAB);
    const std::vector<LinkRow> rows{row};
    const std::vector<uint8_t> table = encodeIfTable(rows);
    EXPECT_EQ(testsupport::read32(table, 4 + 528), 8u);
    EXPECT_EQ(testsupport::read32(table, 4 + 600), 256u) << "255 bytes and the counted NUL";
    EXPECT_EQ(table[4 + 604 + 254], 'd');
    EXPECT_EQ(table[4 + 604 + 255], 0);
    EXPECT_EQ(table[4 + 2 * 254], 'n');
    EXPECT_EQ(table[4 + 2 * 255], 0) << "the name keeps its NUL unit";
    EXPECT_EQ(table[4 + 2 * 255 + 1], 0);
}

TEST(IfTableEncoder, WhatItWritesParsesBackToTheLink)
{
    const std::vector<LinkRow> rows{eth()};
    InterfaceRecords records;
    const TrafficCounters counters = parseIfTable(encodeIfTable(rows), records);
    ASSERT_EQ(records.count(), 1);
    const InterfaceRecord& r = *records.item(1);
    EXPECT_EQ(r.interfaceIndex(), 2);
    EXPECT_EQ(r.adapterAddress(), "2-42-AC-11-00-2");
    EXPECT_EQ(r.interfaceDescription(), std::string("uplink caf\xC3\xA9\0", 13));
    EXPECT_EQ(r.interfaceName().substr(0, 8), std::string("e\0t\0h\0"
                                                          "0\0",
                                                          8));
    EXPECT_EQ(counters.received, 5);
    EXPECT_EQ(counters.sent, -1);
    EXPECT_EQ(encodeIfTable({}), std::vector<uint8_t>(4, 0));
}

}  // namespace
}  // namespace kuvell
