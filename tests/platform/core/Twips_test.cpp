// SPDX-License-Identifier: MIT
#include "platform/core/Twips.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kuvell {
namespace {

TEST(TwipsToPixels, RoundsToTheNearestPixel)
{
    EXPECT_EQ(twipsToPixels(0), 0);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(22), 1);
    EXPECT_EQ(twipsToPixels(23), 2);
    EXPECT_EQ(twipsToPixels(37), 2);
    EXPECT_EQ(twipsToPixels(4650), 310);
    EXPECT_EQ(twipsToPixels(-8), -1);
    EXPECT_EQ(twipsToPixels(-7), 0);
}

TEST(TwipsToPixels, ExactHalvesGoToTheEvenPixel)
{
    EXPECT_EQ(twipsToPixels(7.5), 0);     // 0.5
    EXPECT_EQ(twipsToPixels(22.5), 2);    // 1.5
    EXPECT_EQ(twipsToPixels(37.5), 2);    // 2.5
    EXPECT_EQ(twipsToPixels(52.5), 4);    // 3.5
    EXPECT_EQ(twipsToPixels(-22.5), -2);  // -1.5
    EXPECT_EQ(twipsToPixels(-37.5), -2);  // -2.5
}

TEST(TwipsToPixels, SaturatesInsteadOfOverflowing)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(twipsToPixels(15.0 * kMax), kMax);
    EXPECT_EQ(twipsToPixels(15.0 * kMax - 15), kMax - 1);
    EXPECT_EQ(twipsToPixels(1e12), kMax);
    EXPECT_EQ(twipsToPixels(-1e12), kMin);
    EXPECT_EQ(twipsToPixels(15.0 * kMin), kMin);
    EXPECT_EQ(twipsToPixels(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(twipsToPixels(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(twipsToPixels(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PixelsToTwips, FifteenTwipsPerPixelWithoutOverflow)
{
    EXPECT_EQ(pixelsToTwips(310), 4650);
    EXPECT_EQ(pixelsToTwips(-2), -30);
    EXPECT_EQ(pixelsToTwips(std::numeric_limits<int32_t>::max()), 32212254705LL);
    EXPECT_EQ(twipsToPixels(static_cast<double>(pixelsToTwips(164))), 164);
}

TEST(DisplayScale, TwipsGo1440ToTheInchAndComeBackToTheSamePixel)
{
    EXPECT_EQ(twipsToPixels(4650, 144), 465);
    EXPECT_EQ(twipsToPixels(45, 144), 4);  // 4.5 pixels: to the even one
    EXPECT_EQ(pixelsToTwips(3, 192), 22);  // 22.5 twips
    EXPECT_EQ(pixelsToTwips(std::numeric_limits<int32_t>::min(), 144), -21474836480LL);
    for (const int dpi : {96, 120, 144, 168, 192, 288}) {
        for (int pixels = -3000; pixels <= 3000; ++pixels) {
            ASSERT_EQ(twipsToPixels(static_cast<double>(pixelsToTwips(pixels, dpi)), dpi), pixels)
                << pixels << " at " << dpi;
        }
    }
    EXPECT_EQ(scaledPixels(3, 144), 4);  // 4.5
    EXPECT_EQ(scaledPixels(std::numeric_limits<int32_t>::max(), 192),
              std::numeric_limits<int32_t>::max());
    // A scale the system could not tell counts as 100 %; an absurd one is capped.
    EXPECT_EQ(twipsToPixels(4650, 0), 310);
    EXPECT_EQ(pixelsToTwips(310, -144), 4650);
    EXPECT_EQ(twipsToPixels(4650, 1000000), 4650);
}

}  // namespace
}  // namespace kuvell
