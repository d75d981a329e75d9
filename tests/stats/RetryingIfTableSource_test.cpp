// SPDX-License-Identifier: MIT
#include "stats/core/RetryingIfTableSource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "stats/core/BufferIfTableSource.h"
#include "stats/core/InterfaceTable.h"
#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::TestTable;

// A platform call whose table gains a row (index 1, 2, ...; the newest row's
// in-octets are 1000 times its index) with every call, until it has grown
// `growths` times: the size it reports is stale by the fill.
struct GrowingCall : IfTableSource
{
    int growths = 0;
    TestTable table;
    int rows = 0;
    int fills = 0;
    bool sortPassed = false;

    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        sortPassed = sortPassed || sort;
        if (rows == 0 || growths-- > 0) {
            ++rows;
            table.addRow()
                .physAddr({0xAA})
                .index(static_cast<uint32_t>(rows))
                .inOctets(1000u * rows);
        }
        fills += buffer != nullptr ? 1 : 0;
        return serveIfTable(table.bytes(), buffer, size, false);
    }
};

struct Fixture
{
    std::shared_ptr<GrowingCall> call = std::make_shared<GrowingCall>();
    std::vector<std::string> messages;
    InterfaceTable helper{std::make_shared<RetryingIfTableSource>(call),
                          [this](std::string_view m) { messages.emplace_back(m); }};
};

TEST(RetryingIfTableSource, ATableThatGrowsBeforeTheFillIsAskedAgainAFewTimes)
{
    Fixture grew;
    grew.call->growths = 2;  // one row at the query, three at the fill that succeeds
    const auto records = grew.helper.interfaces();
    EXPECT_EQ(grew.call->fills, 3) << "two fills found the table grown";
    EXPECT_EQ(records->count(), 3);
    EXPECT_EQ(grew.helper.bytesReceived(), 3000);
    EXPECT_FALSE(grew.call->sortPassed) << "the platform's own order";

    Fixture runaway;
    runaway.call->growths = 1000;
    EXPECT_EQ(runaway.helper.interfaces()->count(), 0);
    EXPECT_EQ(runaway.call->fills, 1 + RetryingIfTableSource::kRetries);
    EXPECT_EQ(runaway.helper.bytesReceived(), 0);
    EXPECT_TRUE(runaway.messages.empty()) << "a failed fill is silent";
    // The next snapshot starts afresh and may succeed.
    runaway.call->growths = 0;
    EXPECT_EQ(runaway.helper.interfaces()->count(), runaway.call->rows);
}

TEST(RetryingIfTableSource, ServesTheTakenTableSortedOnRequestAndTakesAfreshPerSnapshot)
{
    TestTable table;
    table.addRow().index(7);
    table.addRow().index(2);
    auto call = std::make_shared<BufferIfTableSource>(table.bytes());
    RetryingIfTableSource source(call);

    uint32_t size = 0;
    ASSERT_EQ(source.getIfTable(nullptr, size, false), IfTableResult::BufferTooSmall);
    ASSERT_EQ(size, 4u + 2 * 860);
    std::vector<uint8_t> sorted(size);
    ASSERT_EQ(source.getIfTable(sorted.data(), size, true), IfTableResult::Ok);
    EXPECT_EQ(testsupport::read32(sorted, 4 + 512), 2u);
    EXPECT_EQ(testsupport::read32(sorted, 4 + 860 + 512), 7u);

    // A fill without a size query, into too small a buffer, reports the size.
    std::vector<uint8_t> small(10);
    size = 10;
    EXPECT_EQ(source.getIfTable(small.data(), size, false), IfTableResult::BufferTooSmall);
    EXPECT_EQ(size, 4u + 2 * 860);
}

TEST(RetryingIfTableSource, RefusalsAndFailuresOfTheCall)
{
    using Scripted = testsupport::ScriptedTableSource;
    // The records, fills and messages of one snapshot through a scripted call.
    const auto snapshot = [](const std::function<void(Scripted&)>& script) {
        auto call = std::make_shared<Scripted>();
        call->table = testsupport::oneRowTable(5, 6);
        script(*call);
        std::vector<std::string> messages;
        InterfaceTable helper(std::make_shared<RetryingIfTableSource>(call),
                              [&messages](std::string_view m) { messages.emplace_back(m); });
        const int count = helper.interfaces()->count();
        return std::tuple{count, call->fills, messages.size()};
    };
    // No table on this system: the caller's message, and no fill.
    EXPECT_EQ(snapshot([](Scripted& s) { s.sizeResult = IfTableResult::NotSupported; }),
              std::tuple(0, 0, 1u));
    // Any other size answer is a size report, as the caller takes it.
    EXPECT_EQ(snapshot([](Scripted& s) { s.sizeResult = static_cast<IfTableResult>(87); }),
              std::tuple(1, 1, 0u));
    // A size no table can have is not allocated.
    EXPECT_EQ(snapshot([](Scripted& s) { s.reportedSize = 0xFFFFFFFFu; }), std::tuple(0, 0, 0u));
    EXPECT_EQ(snapshot([](Scripted& s) { s.reportedSize = 0; }), std::tuple(0, 0, 0u));
    // A fill that fails, even with the code of a refusal, only empties the snapshot.
    EXPECT_EQ(snapshot([](Scripted& s) { s.fillResult = IfTableResult::NotSupported; }),
              std::tuple(0, 1, 0u));
}

}  // namespace
}  // namespace kuvell
