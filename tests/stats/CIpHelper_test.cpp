#include "stats/core/CIpHelper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestTableWriter.h"

namespace kuvell {
namespace {

using test::TestTable;

// A scriptable table call that records how it was called.
struct FakeSource : IfTableSource
{
    uint32_t sizeResult = kIfTableBufferTooSmall;
    std::optional<uint32_t> reportedSize;  // default: the table's size
    uint32_t fillResult = kIfTableOk;
    std::optional<uint32_t> sizeWrittenOnFill;
    std::vector<uint8_t> table;

    int sizeQueries = 0;
    int fills = 0;
    std::vector<uint32_t> sizesPassed;
    bool sortRequested = false;

    uint32_t GetIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        sortRequested = sortRequested || sort;
        sizesPassed.push_back(size);
        if (buffer == nullptr) {
            ++sizeQueries;
            size = reportedSize.value_or(static_cast<uint32_t>(table.size()));
            return sizeResult;
        }
        ++fills;
        std::copy_n(table.begin(), std::min<std::size_t>(size, table.size()), buffer);
        size = sizeWrittenOnFill.value_or(size);
        return fillResult;
    }
};

std::vector<uint8_t> OneRowTable(uint32_t in, uint32_t out)
{
    TestTable table;
    table.AddRow().PhysAddr({0xAA}).Index(3).InOctets(in).OutOctets(out);
    return table.Bytes();
}

struct Fixture
{
    std::shared_ptr<FakeSource> source = std::make_shared<FakeSource>();
    std::vector<std::string> messages;
    CIpHelper helper{source, [this](std::string_view m) { messages.emplace_back(m); }};
};

TEST(CIpHelper, SnapshotAsksForTheSizeThenFillsABufferOfExactlyThatSize)
{
    Fixture f;
    f.source->table = OneRowTable(5000, 700);
    const auto records = f.helper.Interfaces();
    EXPECT_EQ(f.source->sizeQueries, 1);
    EXPECT_EQ(f.source->fills, 1);
    EXPECT_EQ(f.source->sizesPassed, (std::vector<uint32_t>{0, 4 + 860}));
    EXPECT_FALSE(f.source->sortRequested);
    ASSERT_EQ(records->Count(), 1);
    EXPECT_EQ(records->Item(1)->InterfaceIndex(), 3);
    EXPECT_EQ(f.helper.BytesReceived(), 5000);
    EXPECT_EQ(f.helper.BytesSent(), 700);
    EXPECT_TRUE(f.messages.empty());
}

TEST(CIpHelper, AnyNonFiftySizeAnswerIsASizeReport)
{
    for (const uint32_t answer : {kIfTableOk, kIfTableBufferTooSmall, 87u, 0xFFFFFFFFu}) {
        Fixture f;
        f.source->table = OneRowTable(42, 43);
        f.source->sizeResult = answer;
        EXPECT_EQ(f.helper.Interfaces()->Count(), 1) << answer;
        EXPECT_EQ(f.helper.BytesReceived(), 42) << answer;
    }
}

TEST(CIpHelper, NotSupportedShowsTheMessageOnEverySuchSnapshotAndResetsTheCounters)
{
    Fixture f;
    f.source->table = OneRowTable(5000, 700);
    f.helper.Interfaces();
    ASSERT_EQ(f.helper.BytesReceived(), 5000);

    f.source->sizeResult = kIfTableNotSupported;
    EXPECT_EQ(f.helper.Interfaces()->Count(), 0);
    EXPECT_EQ(f.helper.BytesReceived(), 0) << "never the values of an earlier snapshot";
    EXPECT_EQ(f.helper.BytesSent(), 0);
    EXPECT_EQ(f.source->fills, 1) << "no fill after the refusal";
    f.helper.Interfaces();
    EXPECT_EQ(f.messages,
              (std::vector<std::string>(2, "IP HlpAPI is not supported by your system.")));
}

TEST(CIpHelper, FailedFillIsSilentAndEmpty)
{
    Fixture f;
    f.source->table = OneRowTable(5000, 700);
    f.helper.Interfaces();
    for (const uint32_t failure : {kIfTableBufferTooSmall, kIfTableNotSupported, 1u}) {
        f.source->fillResult = failure;
        EXPECT_EQ(f.helper.Interfaces()->Count(), 0) << failure;
        EXPECT_EQ(f.helper.BytesReceived(), 0) << failure;
        EXPECT_EQ(f.helper.BytesSent(), 0) << failure;
    }
    EXPECT_TRUE(f.messages.empty());
}

TEST(CIpHelper, SizeReportsThatCannotHoldATableGiveAnEmptySnapshotWithoutAFill)
{
    for (const uint32_t size : {0u, 0xFFFFFFFFu, 4u + 65536u * 860u}) {
        Fixture f;
        f.source->table = OneRowTable(5000, 700);
        f.source->reportedSize = size;
        EXPECT_EQ(f.helper.Interfaces()->Count(), 0) << size;
        EXPECT_EQ(f.helper.BytesReceived(), 0) << size;
        EXPECT_EQ(f.source->fills, 0) << size;
        EXPECT_TRUE(f.messages.empty()) << size;
    }
}

TEST(CIpHelper, TheBufferBoundsTheRowsWhateverTheSourceClaims)
{
    Fixture f;
    TestTable table;
    table.AddRow().PhysAddr({1}).InOctets(1);
    table.AddRow().PhysAddr({2}).InOctets(2);
    f.source->table = table.Bytes();
    // Too small a size for both rows, and a fill that then claims a huge size.
    f.source->reportedSize = 4 + 860 + 500;
    f.source->sizeWrittenOnFill = 0x7FFFFFFF;
    const auto records = f.helper.Interfaces();
    ASSERT_EQ(records->Count(), 1);
    EXPECT_EQ(f.helper.BytesReceived(), 1);
}

TEST(CIpHelper, EachReadIsANewCollectionAndEarlierOnesKeepTheirRecords)
{
    Fixture f;
    f.source->table = OneRowTable(100, 1);
    const auto first = f.helper.Interfaces();
    const auto held = first->Item(1);
    f.source->table = OneRowTable(200, 2);
    const auto second = f.helper.Interfaces();
    EXPECT_NE(first, second);
    EXPECT_EQ(first->Count(), 1);
    EXPECT_EQ(held->OctetsReceived(), 100);
    EXPECT_EQ(second->Item(1)->OctetsReceived(), 200);
    EXPECT_NE(held, second->Item(1));
}

TEST(CIpHelper, AssigningTheCollectionTakesNoSnapshot)
{
    Fixture f;
    f.source->table = OneRowTable(100, 1);
    f.helper.Interfaces();
    f.helper.Interfaces(std::make_shared<CInterfaces>());
    f.helper.Interfaces(nullptr);
    EXPECT_EQ(f.source->sizeQueries, 1);
    EXPECT_EQ(f.helper.BytesReceived(), 100) << "counters belong to the last snapshot";
}

TEST(CIpHelper, ASnapshotWhileTheMessageIsOpenDoesNotOpenASecondOne)
{
    auto source = std::make_shared<FakeSource>();
    source->sizeResult = kIfTableNotSupported;
    int shown = 0;
    std::shared_ptr<CInterfaces> nested;
    std::unique_ptr<CIpHelper> helper;
    helper = std::make_unique<CIpHelper>(source, [&](std::string_view) {
        ++shown;
        // A modal box runs the event loop, and with it the next tick.
        nested = helper->Interfaces();
    });
    const auto outer = helper->Interfaces();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(source->sizeQueries, 2) << "the nested snapshot still ran";
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->Count(), 0);
    EXPECT_NE(outer, nested);
    // Once closed, the next refusal shows it again.
    helper->Interfaces();
    EXPECT_EQ(shown, 2);
}

TEST(CIpHelper, WorksWithoutANotifierOrASource)
{
    auto source = std::make_shared<FakeSource>();
    source->sizeResult = kIfTableNotSupported;
    CIpHelper quiet(source, nullptr);
    EXPECT_EQ(quiet.Interfaces()->Count(), 0);
    CIpHelper sourceless(nullptr, nullptr);
    EXPECT_EQ(sourceless.Interfaces()->Count(), 0);
    EXPECT_EQ(sourceless.BytesReceived(), 0);
}

}  // namespace
}  // namespace kuvell
