// SPDX-License-Identifier: MIT
#include "monitor/core/GraphGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace kuvell {
namespace {

TEST(GraphGeometry, GraphScaleRoundsHalvesToEvenAndIsZeroForSmallSpeeds)
{
    EXPECT_EQ(graphScale(1024000), 133);  // 133.12
    EXPECT_EQ(graphScale(56000), 7);      // 7.28
    EXPECT_EQ(graphScale(50000), 6);      // exactly 6.5
    EXPECT_EQ(graphScale(3847), 1);
    EXPECT_EQ(graphScale(3846), 0);
    EXPECT_EQ(graphScale(0), 0);
    EXPECT_EQ(graphScale(-3846), 0);
    EXPECT_EQ(graphScale(-3847), -1);
    EXPECT_EQ(graphScale(std::numeric_limits<int32_t>::max()), 279173);  // 279172.87
    EXPECT_EQ(graphScale(std::numeric_limits<int32_t>::min()), -279173);
}

TEST(GraphGeometry, BarRowsOfTheFirstTickAtDefaultSize)
{
    // 10 kB down, 2 kB up, scale 133, display 132 rows, buffer 128 rows.
    const auto download = barRows(10.0, 133, 132, 128);  // yTop ~ 122.08
    ASSERT_TRUE(download.has_value());
    EXPECT_EQ(download->first, 122);
    EXPECT_EQ(download->last, 127);
    // yTop ~ 130.02 lies in the display's extra rows, below the buffer.
    EXPECT_FALSE(barRows(2.0, 133, 132, 128).has_value());
    // Zero lies wholly below the buffer.
    EXPECT_FALSE(barRows(0.0, 133, 132, 128).has_value());
}

TEST(GraphGeometry, BarTopRoundsTiesToEvenAndClipsToTheBuffer)
{
    EXPECT_EQ(barRows(2.5, 100, 100, 100)->first, 98);   // 97.5
    EXPECT_EQ(barRows(3.5, 100, 100, 100)->first, 96);   // 96.5
    EXPECT_EQ(barRows(3.4, 100, 100, 100)->first, 97);   // 96.6
    EXPECT_EQ(barRows(133.0, 133, 132, 128)->first, 0);  // exactly full scale
    // Above full scale the line runs off the top and is cut there.
    const auto over = barRows(5000.0, 133, 132, 128);
    ASSERT_TRUE(over.has_value());
    EXPECT_EQ(over->first, 0);
    EXPECT_EQ(over->last, 127);
    // The largest upload a tick can report, on the smallest scale.
    EXPECT_EQ(barRows(2097152.0, 1, 10000, 9996)->first, 0);
}

TEST(GraphGeometry, BarRowsDrawNothingWithoutAUsableScaleOrBuffer)
{
    EXPECT_FALSE(barRows(10.0, 0, 132, 128).has_value());
    EXPECT_FALSE(barRows(0.0, 0, 132, 128).has_value());
    EXPECT_FALSE(barRows(10.0, -1, 132, 128).has_value());  // negative scale: below the area
    EXPECT_FALSE(barRows(10.0, 133, 132, 0).has_value());
    EXPECT_FALSE(barRows(10.0, 133, 132, -4).has_value());
    EXPECT_FALSE(barRows(std::numeric_limits<double>::quiet_NaN(), 133, 132, 128).has_value());
    // A display with no rows puts every positive bar above the buffer: full height.
    EXPECT_EQ(barRows(1.0, 133, 0, 128)->first, 0);
}

TEST(GraphGeometry, ColumnsAndDrawOrder)
{
    EXPECT_EQ(barColumn(300, 1), 299);
    EXPECT_EQ(barColumn(300, 299), 1);
    EXPECT_EQ(barColumn(300, 0), 300);  // outside the 300 columns
    EXPECT_EQ(barColumn(300, 300), 0);

    const int32_t red = 0xFF;
    const int32_t green = 0xFF00;
    auto bars = barsInDrawOrder(5.0, 1.0, red, green);
    EXPECT_EQ(bars[0].colour, red);
    EXPECT_EQ(bars[1].colour, green);
    EXPECT_EQ(bars[1].value, 1.0);

    bars = barsInDrawOrder(1.0, 5.0, red, green);
    EXPECT_EQ(bars[0].colour, green);
    EXPECT_EQ(bars[0].value, 5.0);
    EXPECT_EQ(bars[1].colour, red);

    bars = barsInDrawOrder(3.0, 3.0, red, green);  // a tie shows the download colour
    EXPECT_EQ(bars[1].colour, red);
}

}  // namespace
}  // namespace kuvell
