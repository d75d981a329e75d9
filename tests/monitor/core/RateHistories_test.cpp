// SPDX-License-Identifier: MIT
#include "monitor/core/RateHistories.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

TEST(RateHistories, StoresKilobytesInSlotOneAndShiftsOlderTicksRight)
{
    RateHistories histories;
    histories.advance(10240, 2048);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[1], 10.0);
    EXPECT_DOUBLE_EQ(histories.uploadHistory[1], 2.0);

    histories.advance(512, 100);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[1], 0.5);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[2], 10.0);
    EXPECT_DOUBLE_EQ(histories.uploadHistory[1], 100.0 / 1024.0);
    EXPECT_DOUBLE_EQ(histories.uploadHistory[2], 2.0);
    // The two edge slots are never written.
    EXPECT_EQ(histories.downloadHistory[0], 0.0);
    EXPECT_EQ(histories.uploadHistory[0], 0.0);
    EXPECT_EQ(histories.downloadHistory[300], 0.0);
    EXPECT_EQ(histories.uploadHistory[300], 0.0);
}

TEST(RateHistories, KeepsExactly299TicksAndDropsTheOldestOnTheNext)
{
    RateHistories histories;
    for (int32_t tick = 1; tick <= 299; ++tick) {
        histories.advance(tick * 1024, tick * 2048);
    }
    // Slot k holds the tick made k - 1 ticks ago.
    for (std::size_t slot = 1; slot <= 299; ++slot) {
        ASSERT_DOUBLE_EQ(histories.downloadHistory[slot], 300.0 - static_cast<double>(slot))
            << "slot " << slot;
        ASSERT_DOUBLE_EQ(histories.uploadHistory[slot], 2 * (300.0 - static_cast<double>(slot)));
    }

    histories.advance(300 * 1024, 600 * 2048);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[299], 2.0);  // the first sample is gone
    EXPECT_DOUBLE_EQ(histories.downloadHistory[1], 300.0);
    EXPECT_DOUBLE_EQ(histories.uploadHistory[299], 4.0);
    EXPECT_EQ(histories.downloadHistory[300], 0.0);
}

TEST(RateHistories, NegativeDeltaRepeatsThePreviousValueForThatDirectionOnly)
{
    RateHistories histories;
    histories.advance(4096, 1024);
    histories.advance(2048, -5000);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[1], 2.0);
    EXPECT_DOUBLE_EQ(histories.uploadHistory[1], 1.0);
    EXPECT_DOUBLE_EQ(histories.uploadHistory[2], 1.0);

    histories.advance(-1, 0);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[1], 2.0);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[2], 2.0);
    EXPECT_DOUBLE_EQ(histories.downloadHistory[3], 4.0);
    EXPECT_EQ(histories.uploadHistory[1], 0.0);
}

}  // namespace
}  // namespace kuvell
