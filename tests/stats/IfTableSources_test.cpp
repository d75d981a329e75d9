#include <gtest/gtest.h>

#include <vector>

#include "TestTableWriter.h"
#include "stats/core/BufferIfTableSource.h"
#include "stats/core/CIpHelper.h"
#include "stats/core/IfTableSort.h"

namespace kuvell {
namespace {

using test::TestTable;

uint32_t IndexOfRow(const std::vector<uint8_t>& table, std::size_t row)
{
    return test::Read32(table, 4 + row * 860 + 512);
}

TEST(BufferIfTableSource, AnswersLikeTheTableCall)
{
    TestTable table;
    table.AddRow().Index(2);
    const std::vector<uint8_t> bytes = table.Bytes();
    BufferIfTableSource source(bytes);

    uint32_t size = 0;
    EXPECT_EQ(source.GetIfTable(nullptr, size, false), kIfTableBufferTooSmall);
    EXPECT_EQ(size, bytes.size());

    std::vector<uint8_t> small(bytes.size() - 1, 0xEE);
    size = static_cast<uint32_t>(small.size());
    EXPECT_EQ(source.GetIfTable(small.data(), size, false), kIfTableBufferTooSmall);
    EXPECT_EQ(size, bytes.size());
    EXPECT_EQ(small, std::vector<uint8_t>(bytes.size() - 1, 0xEE)) << "nothing written";

    std::vector<uint8_t> large(bytes.size() + 10, 0xEE);
    size = static_cast<uint32_t>(large.size());
    EXPECT_EQ(source.GetIfTable(large.data(), size, false), kIfTableOk);
    EXPECT_EQ(size, bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), large.begin()));
    EXPECT_EQ(large.back(), 0xEE);
}

TEST(IfTableSort, OrdersRowsByIndexKeepingTiesAndLeavingTheRestAlone)
{
    TestTable table;
    table.AddRow().Index(7).InOctets(1);
    table.AddRow().Index(0x80000000u).InOctets(2);  // unsigned: sorts last
    table.AddRow().Index(3).InOctets(3);
    table.AddRow().Index(7).InOctets(4);
    // The count states 4, and a stray tail follows the rows.
    std::vector<uint8_t> bytes = table.Bytes(std::nullopt, 3);
    bytes[bytes.size() - 1] = 0x5A;
    SortIfTableByIndex(bytes);
    EXPECT_EQ(IndexOfRow(bytes, 0), 3u);
    EXPECT_EQ(IndexOfRow(bytes, 1), 7u);
    EXPECT_EQ(bytes[4 + 860 + 552], 1) << "ties keep their order";
    EXPECT_EQ(bytes[4 + 2 * 860 + 552], 4);
    EXPECT_EQ(IndexOfRow(bytes, 3), 0x80000000u);
    EXPECT_EQ(bytes.back(), 0x5A);

    std::vector<uint8_t> stub{9, 0, 0};
    SortIfTableByIndex(stub);  // too short for a count: left alone
    EXPECT_EQ(stub, (std::vector<uint8_t>{9, 0, 0}));
}

TEST(BufferIfTableSource, SortsOnRequestAndFeedsCIpHelper)
{
    TestTable table;
    table.AddRow().Index(9).PhysAddr({9}).InOctets(900);
    table.AddRow().Index(1).PhysAddr({1}).InOctets(100);
    auto source = std::make_shared<BufferIfTableSource>(table.Bytes());

    std::vector<uint8_t> sorted(4 + 2 * 860);
    uint32_t size = static_cast<uint32_t>(sorted.size());
    ASSERT_EQ(source->GetIfTable(sorted.data(), size, true), kIfTableOk);
    EXPECT_EQ(IndexOfRow(sorted, 0), 1u);

    // The helper asks in the system's order: the last addressed row is index 1.
    CIpHelper helper(source, nullptr);
    helper.Interfaces();
    EXPECT_EQ(helper.BytesReceived(), 100);
}

}  // namespace
}  // namespace kuvell
