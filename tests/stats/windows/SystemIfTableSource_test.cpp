// SPDX-License-Identifier: MIT
// Against the interface table of the Windows (or wine) the test runs on.
#include "stats/SystemIfTableSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stats/core/InterfaceTable.h"
#include "stats/windows/GetIfTableCall.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::read32;

constexpr uint32_t kSoftwareLoopback = 24;  // IANA ifType

TEST(GetIfTableCall, AnswersTheSizeQueryThenFillsInTheParsersLayout)
{
    GetIfTableCall call;
    uint32_t size = 0;
    ASSERT_EQ(call.getIfTable(nullptr, size, false), IfTableResult::BufferTooSmall);
    ASSERT_GE(size, 4u + 860u) << "every system has at least its loopback";
    ASSERT_EQ((size - 4) % 860, 0u);

    std::vector<uint8_t> small(size - 1);
    uint32_t smallSize = size - 1;
    EXPECT_EQ(call.getIfTable(small.data(), smallSize, false), IfTableResult::BufferTooSmall);
    EXPECT_EQ(smallSize, size);

    std::vector<uint8_t> table(size);
    ASSERT_EQ(call.getIfTable(table.data(), size, true), IfTableResult::Ok);
    const uint32_t rows = read32(table, 0);
    ASSERT_EQ(4 + rows * 860, table.size());
    bool loopback = false;
    for (uint32_t row = 0; row < rows; ++row) {
        const std::size_t start = 4 + row * 860;
        if (row > 0) {
            EXPECT_LT(read32(table, start - 860 + 512), read32(table, start + 512)) << "sorted";
        }
        EXPECT_LE(read32(table, start + 528), 8u) << "address length";
        EXPECT_LE(read32(table, start + 600), 256u) << "description length";
        if (read32(table, start + 516) == kSoftwareLoopback) {
            loopback = true;
            EXPECT_EQ(read32(table, start + 528), 0u) << "the loopback has no address";
        }
    }
    EXPECT_TRUE(loopback);
}

TEST(SystemIfTableSource, SnapshotsHoldEveryRowAndNoMessage)
{
    uint32_t size = 0;
    ASSERT_EQ(GetIfTableCall().getIfTable(nullptr, size, false), IfTableResult::BufferTooSmall);

    std::vector<std::string> messages;
    InterfaceTable helper(makeSystemIfTableSource(),
                          [&messages](std::string_view m) { messages.emplace_back(m); });
    for (int snapshot = 0; snapshot < 3; ++snapshot) {
        const auto records = helper.interfaces();
        EXPECT_EQ(static_cast<uint32_t>(records->count()), (size - 4) / 860);
        bool named = false;
        for (int i = 1; i <= records->count(); ++i) {
            named = named || !records->item(i)->interfaceDescription().empty();
        }
        EXPECT_TRUE(named);
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace kuvell
