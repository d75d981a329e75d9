#include "platform/core/Twips.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kuvell {
namespace {

TEST(TwipsToPixels, RoundsToTheNearestPixel)
{
    EXPECT_EQ(TwipsToPixels(0), 0);
    EXPECT_EQ(TwipsToPixels(7), 0);
    EXPECT_EQ(TwipsToPixels(8), 1);
    EXPECT_EQ(TwipsToPixels(22), 1);
    EXPECT_EQ(TwipsToPixels(23), 2);
    EXPECT_EQ(TwipsToPixels(37), 2);
    EXPECT_EQ(TwipsToPixels(4650), 310);
    EXPECT_EQ(TwipsToPixels(-8), -1);
    EXPECT_EQ(TwipsToPixels(-7), 0);
}

TEST(TwipsToPixels, ExactHalvesGoToTheEvenPixel)
{
    EXPECT_EQ(TwipsToPixels(7.5), 0);     // 0.5
    EXPECT_EQ(TwipsToPixels(22.5), 2);    // 1.5
    EXPECT_EQ(TwipsToPixels(37.5), 2);    // 2.5
    EXPECT_EQ(TwipsToPixels(52.5), 4);    // 3.5
    EXPECT_EQ(TwipsToPixels(-22.5), -2);  // -1.5
    EXPECT_EQ(TwipsToPixels(-37.5), -2);  // -2.5
}

TEST(TwipsToPixels, SaturatesInsteadOfOverflowing)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(TwipsToPixels(15.0 * kMax), kMax);
    EXPECT_EQ(TwipsToPixels(15.0 * kMax - 15), kMax - 1);
    EXPECT_EQ(TwipsToPixels(1e12), kMax);
    EXPECT_EQ(TwipsToPixels(-1e12), kMin);
    EXPECT_EQ(TwipsToPixels(15.0 * kMin), kMin);
    EXPECT_EQ(TwipsToPixels(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(TwipsToPixels(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(TwipsToPixels(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PixelsToTwips, FifteenTwipsPerPixelWithoutOverflow)
{
    EXPECT_EQ(PixelsToTwips(310), 4650);
    EXPECT_EQ(PixelsToTwips(-2), -30);
    EXPECT_EQ(PixelsToTwips(std::numeric_limits<int32_t>::max()), 32212254705LL);
    EXPECT_EQ(TwipsToPixels(static_cast<double>(PixelsToTwips(164))), 164);
}

}  // namespace
}  // namespace kuvell
