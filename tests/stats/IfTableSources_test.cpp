// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "stats/core/BufferIfTableSource.h"
#include "stats/core/IfTableSort.h"
#include "stats/core/InterfaceTable.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::TestTable;

uint32_t indexOfRow(const std::vector<uint8_t>& table, std::size_t row)
{
    return testsupport::read32(table, 4 + row * 860 + 512);
}

TEST(BufferIfTableSource, AnswersLikeTheTableCall)
{
    TestTable table;
    table.addRow().index(2);
    const std::vector<uint8_t> bytes = table.bytes();
    BufferIfTableSource source(bytes);

    uint32_t size = 0;
    EXPECT_EQ(source.getIfTable(nullptr, size, false), IfTableResult::BufferTooSmall);
    EXPECT_EQ(size, bytes.size());

    std::vector<uint8_t> small(bytes.size() - 1, 0xEE);
    size = static_cast<uint32_t>(small.size());
    EXPECT_EQ(source.getIfTable(small.data(), size, false), IfTableResult::BufferTooSmall);
    EXPECT_EQ(size, bytes.size());
    EXPECT_EQ(small, std::vector<uint8_t>(bytes.size() - 1, 0xEE)) << "nothing written";

    std::vector<uint8_t> large(bytes.size() + 10, 0xEE);
    size = static_cast<uint32_t>(large.size());
    EXPECT_EQ(source.getIfTable(large.data(), size, false), IfTableResult::Ok);
    EXPECT_EQ(size, bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), large.begin()));
    EXPECT_EQ(large.back(), 0xEE);
}

TEST(IfTableSort, OrdersRowsByIndexKeepingTiesAndLeavingTheRestAlone)
{
    TestTable table;
    table.addRow().index(7).inOctets(1);
    table.addRow().index(0x80000000u).inOctets(2);  // unsigned: sorts last
    table.addRow().index(3).inOctets(3);
    table.addRow().index(7).inOctets(4);
    // The count states 4, and a stray tail follows the rows.
    std::vector<uint8_t> bytes = table.bytes(std::nullopt, 3);
    bytes[bytes.size() - 1] = 0x5A;
    sortIfTableByIndex(bytes);
    EXPECT_EQ(indexOfRow(bytes, 0), 3u);
    EXPECT_EQ(indexOfRow(bytes, 1), 7u);
    EXPECT_EQ(bytes[4 + 860 + 552], 1) << "ties keep their order";
    EXPECT_EQ(bytes[4 + 2 * 860 + 552], 4);
    EXPECT_EQ(indexOfRow(bytes, 3), 0x80000000u);
    EXPECT_EQ(bytes.back(), 0x5A);

    std::vector<uint8_t> stub{9, 0, 0};
    sortIfTableByIndex(stub);  // too short for a count: left alone
    EXPECT_EQ(stub, (std::vector<uint8_t>{9, 0, 0}));
}

TEST(BufferIfTableSource, SortsOnRequestAndFeedsCIpHelper)
{
    TestTable table;
    table.addRow().index(9).physAddr({9}).inOctets(900);
    table.addRow().index(1).physAddr({1}).inOctets(100);
    auto source = std::make_shared<BufferIfTableSource>(table.bytes());

    std::vector<uint8_t> sorted(4 + 2 * 860);
    uint32_t size = static_cast<uint32_t>(sorted.size());
    ASSERT_EQ(source->getIfTable(sorted.data(), size, true), IfTableResult::Ok);
    EXPECT_EQ(indexOfRow(sorted, 0), 1u);

    // The helper asks in the system's order: the last addressed row is index 1.
    InterfaceTable helper(source, nullptr);
    helper.interfaces();
    EXPECT_EQ(helper.bytesReceived(), 100);
}

}  // namespace
}  // namespace kuvell
