#include "stats/core/CInterfaces.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kuvell {
namespace {

std::shared_ptr<CInterface> Record(int32_t index)
{
    auto record = std::make_shared<CInterface>();
    record->InterfaceIndex(index);
    return record;
}

std::vector<int32_t> Indexes(const CInterfaces& collection)
{
    std::vector<int32_t> out;
    for (const auto& record : collection) {
        out.push_back(record->InterfaceIndex());
    }
    return out;
}

TEST(CInterfaces, NewCollectionIsEmptyAndEnumeratesNothing)
{
    const CInterfaces collection;
    EXPECT_EQ(collection.Count(), 0);
    EXPECT_TRUE(Indexes(collection).empty());
    EXPECT_THROW(collection.Item(1), std::out_of_range);
}

TEST(CInterfaces, AddAppendsReturnsTheRecordAndEmptiesTheCallersReference)
{
    CInterfaces collection;
    auto variable = Record(7);
    CInterface* const added = variable.get();
    const auto returned = collection.Add(variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(returned.get(), added);
    EXPECT_EQ(collection.Item(1).get(), added);

    std::shared_ptr<CInterface> empty;
    EXPECT_THROW(collection.Add(empty), std::invalid_argument);
    EXPECT_EQ(collection.Count(), 1);
}

TEST(CInterfaces, PositionsAreOneBasedAndCloseUpAfterRemove)
{
    CInterfaces collection;
    for (int32_t i = 1; i <= 3; ++i) {
        auto r = Record(i * 10);
        collection.Add(r);
    }
    EXPECT_EQ(collection.Item(2)->InterfaceIndex(), 20);
    const auto second = collection.Item(2);
    collection.Remove(1);
    EXPECT_EQ(collection.Count(), 2);
    EXPECT_EQ(collection.Item(1), second);
    EXPECT_EQ(Indexes(collection), (std::vector<int32_t>{20, 30}));
    collection.Remove(2);
    EXPECT_EQ(Indexes(collection), (std::vector<int32_t>{20}));
}

TEST(CInterfaces, TheSameRecordAddedTwiceIsOneRecordAtTwoPositions)
{
    CInterfaces collection;
    auto shared = Record(1);
    auto again = shared;
    collection.Add(shared);
    collection.Add(again);
    ASSERT_EQ(collection.Count(), 2);
    EXPECT_EQ(collection.Item(1), collection.Item(2));
    collection.Item(1)->Speed(100);
    EXPECT_EQ(collection.Item(2)->Speed(), 100);
}

TEST(CInterfaces, BadPositionsAndKeyTextsFailAndLeaveTheCollectionUnchanged)
{
    CInterfaces collection;
    for (int32_t i = 1; i <= 2; ++i) {
        auto r = Record(i);
        collection.Add(r);
    }
    for (const int64_t bad : {int64_t{0}, int64_t{-1}, int64_t{3}, int64_t{1} << 32,
                              int64_t{INT64_MIN}, int64_t{INT64_MAX}}) {
        EXPECT_THROW(collection.Item(bad), std::out_of_range) << bad;
        EXPECT_THROW(collection.Remove(bad), std::out_of_range) << bad;
    }
    EXPECT_THROW(collection.Item("eth0"), std::invalid_argument);
    EXPECT_THROW(collection.Remove("1"), std::invalid_argument) << "a digit text is still a key";
    EXPECT_EQ(Indexes(collection), (std::vector<int32_t>{1, 2}));
}

}  // namespace
}  // namespace kuvell
