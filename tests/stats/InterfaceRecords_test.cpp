// SPDX-License-Identifier: MIT
#include "stats/core/InterfaceRecords.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kuvell {
namespace {

std::shared_ptr<InterfaceRecord> record(int32_t index)
{
    auto record = std::make_shared<InterfaceRecord>();
    record->interfaceIndex(index);
    return record;
}

std::vector<int32_t> indexes(const InterfaceRecords& collection)
{
    std::vector<int32_t> out;
    for (const auto& record : collection) {
        out.push_back(record->interfaceIndex());
    }
    return out;
}

TEST(InterfaceRecords, NewCollectionIsEmptyAndEnumeratesNothing)
{
    const InterfaceRecords collection;
    EXPECT_EQ(collection.count(), 0);
    EXPECT_TRUE(indexes(collection).empty());
    EXPECT_THROW(collection.item(1), std::out_of_range);
}

TEST(InterfaceRecords, AddAppendsReturnsTheRecordAndEmptiesTheCallersReference)
{
    InterfaceRecords collection;
    auto variable = record(7);
    InterfaceRecord* const added = variable.get();
    const auto returned = collection.add(variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(returned.get(), added);
    EXPECT_EQ(collection.item(1).get(), added);

    std::shared_ptr<InterfaceRecord> empty;
    EXPECT_THROW(collection.add(empty), std::invalid_argument);
    EXPECT_EQ(collection.count(), 1);
}

TEST(InterfaceRecords, PositionsAreOneBasedAndCloseUpAfterRemove)
{
    InterfaceRecords collection;
    for (int32_t i = 1; i <= 3; ++i) {
        auto r = record(i * 10);
        collection.add(r);
    }
    EXPECT_EQ(collection.item(2)->interfaceIndex(), 20);
    const auto second = collection.item(2);
    collection.remove(1);
    EXPECT_EQ(collection.count(), 2);
    EXPECT_EQ(collection.item(1), second);
    EXPECT_EQ(indexes(collection), (std::vector<int32_t>{20, 30}));
    collection.remove(2);
    EXPECT_EQ(indexes(collection), (std::vector<int32_t>{20}));
}

TEST(InterfaceRecords, TheSameRecordAddedTwiceIsOneRecordAtTwoPositions)
{
    InterfaceRecords collection;
    auto shared = record(1);
    auto again = shared;
    collection.add(shared);
    collection.add(again);
    ASSERT_EQ(collection.count(), 2);
    EXPECT_EQ(collection.item(1), collection.item(2));
    collection.item(1)->speed(100);
    EXPECT_EQ(collection.item(2)->speed(), 100);
}

TEST(InterfaceRecords, BadPositionsAndKeyTextsFailAndLeaveTheCollectionUnchanged)
{
    InterfaceRecords collection;
    for (int32_t i = 1; i <= 2; ++i) {
        auto r = record(i);
        collection.add(r);
    }
    for (const int64_t bad : {int64_t{0}, int64_t{-1}, int64_t{3}, int64_t{1} << 32,
                              int64_t{INT64_MIN}, int64_t{INT64_MAX}}) {
        EXPECT_THROW(collection.item(bad), std::out_of_range) << bad;
        EXPECT_THROW(collection.remove(bad), std::out_of_range) << bad;
    }
    EXPECT_THROW(collection.item("eth0"), std::invalid_argument);
    EXPECT_THROW(collection.remove("1"), std::invalid_argument) << "a digit text is still a key";
    EXPECT_EQ(indexes(collection), (std::vector<int32_t>{1, 2}));
}

}  // namespace
}  // namespace kuvell
