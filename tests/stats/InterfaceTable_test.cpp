// SPDX-License-Identifier: MIT
#include "stats/core/InterfaceTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::oneRowTable;
using testsupport::TestTable;
using FakeSource = testsupport::ScriptedTableSource;

struct Fixture
{
    std::shared_ptr<FakeSource> source = std::make_shared<FakeSource>();
    std::vector<std::string> messages;
    InterfaceTable helper{source, [this](std::string_view m) { messages.emplace_back(m); }};
};

TEST(InterfaceTable, SnapshotAsksForTheSizeThenFillsABufferOfExactlyThatSize)
{
    Fixture f;
    f.source->table = oneRowTable(5000, 700);
    const auto records = f.helper.interfaces();
    EXPECT_EQ(f.source->sizeQueries, 1);
    EXPECT_EQ(f.source->fills, 1);
    EXPECT_EQ(f.source->sizesPassed, (std::vector<uint32_t>{0, 4 + 860}));
    EXPECT_FALSE(f.source->sortRequested);
    ASSERT_EQ(records->count(), 1);
    EXPECT_EQ(records->item(1)->interfaceIndex(), 3);
    EXPECT_EQ(f.helper.bytesReceived(), 5000);
    EXPECT_EQ(f.helper.bytesSent(), 700);
    EXPECT_TRUE(f.messages.empty());
}

TEST(InterfaceTable, AnyNonFiftySizeAnswerIsASizeReport)
{
    for (const IfTableResult answer :
         {IfTableResult::Ok, IfTableResult::BufferTooSmall, static_cast<IfTableResult>(87),
          static_cast<IfTableResult>(0xFFFFFFFFu)}) {
        Fixture f;
        f.source->table = oneRowTable(42, 43);
        f.source->sizeResult = answer;
        EXPECT_EQ(f.helper.interfaces()->count(), 1) << static_cast<uint32_t>(answer);
        EXPECT_EQ(f.helper.bytesReceived(), 42) << static_cast<uint32_t>(answer);
    }
}

TEST(InterfaceTable, NotSupportedShowsTheMessageOnEverySuchSnapshotAndResetsTheCounters)
{
    Fixture f;
    f.source->table = oneRowTable(5000, 700);
    f.helper.interfaces();
    ASSERT_EQ(f.helper.bytesReceived(), 5000);

    f.source->sizeResult = IfTableResult::NotSupported;
    EXPECT_EQ(f.helper.interfaces()->count(), 0);
    EXPECT_EQ(f.helper.bytesReceived(), 0) << "never the values of an earlier snapshot";
    EXPECT_EQ(f.helper.bytesSent(), 0);
    EXPECT_EQ(f.source->fills, 1) << "no fill after the refusal";
    f.helper.interfaces();
    EXPECT_EQ(f.messages,
              (std::vector<std::string>(2, "IP HlpAPI is not supported by your system.")));
}

TEST(InterfaceTable, FailedFillIsSilentAndEmpty)
{
    Fixture f;
    f.source->table = oneRowTable(5000, 700);
    f.helper.interfaces();
    for (const IfTableResult failure : {IfTableResult::BufferTooSmall, IfTableResult::NotSupported,
                                        static_cast<IfTableResult>(1)}) {
        f.source->fillResult = failure;
        EXPECT_EQ(f.helper.interfaces()->count(), 0) << static_cast<uint32_t>(failure);
        EXPECT_EQ(f.helper.bytesReceived(), 0) << static_cast<uint32_t>(failure);
        EXPECT_EQ(f.helper.bytesSent(), 0) << static_cast<uint32_t>(failure);
    }
    EXPECT_TRUE(f.messages.empty());
}

TEST(InterfaceTable, SizeReportsThatCannotHoldATableGiveAnEmptySnapshotWithoutAFill)
{
    for (const uint32_t size : {0u, 0xFFFFFFFFu, 4u + 65536u * 860u}) {
        Fixture f;
        f.source->table = oneRowTable(5000, 700);
        f.source->reportedSize = size;
        EXPECT_EQ(f.helper.interfaces()->count(), 0) << size;
        EXPECT_EQ(f.helper.bytesReceived(), 0) << size;
        EXPECT_EQ(f.source->fills, 0) << size;
        EXPECT_TRUE(f.messages.empty()) << size;
    }
}

TEST(InterfaceTable, TheBufferBoundsTheRowsWhateverTheSourceClaims)
{
    Fixture f;
    TestTable table;
    table.addRow().physAddr({1}).inOctets(1);
    table.addRow().physAddr({2}).inOctets(2);
    f.source->table = table.bytes();
    // Too small a size for both rows, and a fill that then claims a huge size.
    f.source->reportedSize = 4 + 860 + 500;
    f.source->sizeWrittenOnFill = 0x7FFFFFFF;
    const auto records = f.helper.interfaces();
    ASSERT_EQ(records->count(), 1);
    EXPECT_EQ(f.helper.bytesReceived(), 1);
}

TEST(InterfaceTable, EachReadIsANewCollectionAndEarlierOnesKeepTheirRecords)
{
    Fixture f;
    f.source->table = oneRowTable(100, 1);
    const auto first = f.helper.interfaces();
    const auto held = first->item(1);
    f.source->table = oneRowTable(200, 2);
    const auto second = f.helper.interfaces();
    EXPECT_NE(first, second);
    EXPECT_EQ(first->count(), 1);
    EXPECT_EQ(held->octetsReceived(), 100);
    EXPECT_EQ(second->item(1)->octetsReceived(), 200);
    EXPECT_NE(held, second->item(1));
}

TEST(InterfaceTable, AssigningTheCollectionTakesNoSnapshot)
{
    Fixture f;
    f.source->table = oneRowTable(100, 1);
    f.helper.interfaces();
    f.helper.interfaces(std::make_shared<InterfaceRecords>());
    f.helper.interfaces(nullptr);
    EXPECT_EQ(f.source->sizeQueries, 1);
    EXPECT_EQ(f.helper.bytesReceived(), 100) << "counters belong to the last snapshot";
}

TEST(InterfaceTable, ASnapshotWhileTheMessageIsOpenDoesNotOpenASecondOne)
{
    auto source = std::make_shared<FakeSource>();
    source->sizeResult = IfTableResult::NotSupported;
    int shown = 0;
    std::shared_ptr<InterfaceRecords> nested;
    std::unique_ptr<InterfaceTable> helper;
    helper = std::make_unique<InterfaceTable>(source, [&](std::string_view) {
        ++shown;
        // A modal box runs the event loop, and with it the next tick.
        nested = helper->interfaces();
    });
    const auto outer = helper->interfaces();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(source->sizeQueries, 2) << "the nested snapshot still ran";
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->count(), 0);
    EXPECT_NE(outer, nested);
    // Once closed, the next refusal shows it again.
    helper->interfaces();
    EXPECT_EQ(shown, 2);
}

TEST(InterfaceTable, WorksWithoutANotifierOrASource)
{
    auto source = std::make_shared<FakeSource>();
    source->sizeResult = IfTableResult::NotSupported;
    InterfaceTable quiet(source, nullptr);
    EXPECT_EQ(quiet.interfaces()->count(), 0);
    InterfaceTable sourceless(nullptr, nullptr);
    EXPECT_EQ(sourceless.interfaces()->count(), 0);
    EXPECT_EQ(sourceless.bytesReceived(), 0);
}

TEST(InterfaceTable, AChosenInterfaceThatGoesAndComesBackReadsZeroMeanwhile)
{
    const auto withRows = [](bool chosenPresent) {
        TestTable table;
        if (chosenPresent) {
            table.addRow()
                .nameBytes(std::string("w\0l\0a\0n\0", 8))
                .physAddr({1})
                .inOctets(4000)
                .outOctets(400);
        }
        table.addRow().physAddr({2}).inOctets(9000).outOctets(900);  // the last row with an address
        return table.bytes();
    };
    Fixture f;
    f.helper.chooseInterface("wlan");
    const auto counters = [&](bool chosenPresent) {
        f.source->table = withRows(chosenPresent);
        f.helper.interfaces();
        return std::make_pair(f.helper.bytesReceived(), f.helper.bytesSent());
    };
    EXPECT_EQ(counters(true), std::make_pair(4000, 400));
    EXPECT_EQ(counters(false), std::make_pair(0, 0)) << "unplugged: nothing, not another row";
    EXPECT_EQ(counters(true), std::make_pair(4000, 400));
    f.helper.chooseInterface("");
    EXPECT_EQ(counters(true), std::make_pair(9000, 900)) << "no choice: the usual rule again";
}

TEST(InterfaceTable, TheTableOfTheMomentLeavesTheSnapshotAloneAndShowsNoMessage)
{
    Fixture f;
    TestTable rows;
    rows.addRow().name("eth0").physAddr({1}).inOctets(5000).descr("Wired\0", 6);
    f.source->table = rows.bytes();
    f.helper.interfaces();
    EXPECT_EQ(f.helper.counters().shownAs, "Wired") << "known by its description";
    f.source->table = oneRowTable(9000, 900);
    EXPECT_EQ(f.helper.tableNow(), f.source->table);
    EXPECT_EQ(f.helper.bytesReceived(), 5000) << "the tick's counters stay those of its snapshot";
    EXPECT_EQ(f.helper.counters().shownAs, "Wired");

    f.source->sizeResult = IfTableResult::NotSupported;
    EXPECT_TRUE(f.helper.tableNow().empty());
    EXPECT_TRUE(f.messages.empty()) << "opening a menu is no time for a message box";
    f.source->sizeResult = IfTableResult::BufferTooSmall;
    f.source->fillResult = IfTableResult::BufferTooSmall;  // a failed fill
    EXPECT_TRUE(f.helper.tableNow().empty());
}

}  // namespace
}  // namespace kuvell
