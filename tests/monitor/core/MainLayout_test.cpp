#include "monitor/core/MainLayout.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

TEST(MainLayout, DefaultSizeInNormalMode)
{
    const MainLayout layout = LayoutForSize(4650, 2460, 0);
    EXPECT_EQ(layout.picdisplayLeft, -10);
    EXPECT_EQ(layout.picdisplayHeight, 2100);
    EXPECT_EQ(layout.picbufferHeight, 2100);
    EXPECT_EQ(layout.Picture1Height, 2070);
    EXPECT_EQ(layout.Label8Top, 2090);
    EXPECT_EQ(layout.Label8Width, 4515);
    EXPECT_EQ(layout.Label8FontPoints, 10);
}

TEST(MainLayout, DefaultSizeInGraphOnlyMode)
{
    const MainLayout layout = LayoutForSize(4650, 2460, 265);
    EXPECT_EQ(layout.picdisplayLeft, -10);
    EXPECT_EQ(layout.picdisplayHeight, 2365);
    EXPECT_EQ(layout.picbufferHeight, 2365);
    EXPECT_EQ(layout.Picture1Height, 2350);
    EXPECT_EQ(layout.Label8Top, 2355);
    EXPECT_EQ(layout.Label8Width, 4515);
}

TEST(MainLayout, StepsThatWouldSetANegativeSizeAreLeftOut)
{
    const MainLayout low = LayoutForSize(4650, 300, 0);
    EXPECT_FALSE(low.picdisplayHeight.has_value());
    EXPECT_FALSE(low.picbufferHeight.has_value());
    EXPECT_FALSE(low.Picture1Height.has_value());
    EXPECT_EQ(low.Label8Top, -70);  // negative positions are still applied
    EXPECT_EQ(low.Label8Width, 4515);

    // Between 360 and 390 twips only the panel step is skipped.
    const MainLayout between = LayoutForSize(4650, 375, 0);
    EXPECT_EQ(between.picdisplayHeight, 15);
    EXPECT_FALSE(between.Picture1Height.has_value());
    EXPECT_EQ(LayoutForSize(4650, 360, 0).picdisplayHeight, 0);

    // Graph-only mode keeps the boxes at a height where normal mode skips them.
    EXPECT_EQ(LayoutForSize(4650, 300, 265).picdisplayHeight, 205);
    EXPECT_EQ(LayoutForSize(4650, 300, 265).Picture1Height, 190);

    const MainLayout narrow = LayoutForSize(100, 2460, 0);
    EXPECT_FALSE(narrow.Label8Width.has_value());
    EXPECT_EQ(narrow.picdisplayLeft, -4560);
}

TEST(MainLayout, FontBandsAndTheirEdges)
{
    EXPECT_EQ(Label8FontPoints(4650), 10);
    EXPECT_EQ(Label8FontPoints(2221), 10);
    EXPECT_EQ(Label8FontPoints(2220), std::nullopt);
    EXPECT_EQ(Label8FontPoints(2219), 8);
    EXPECT_EQ(Label8FontPoints(2001), 8);
    EXPECT_EQ(Label8FontPoints(2000), std::nullopt);
    EXPECT_EQ(Label8FontPoints(1999), 6);
    EXPECT_EQ(Label8FontPoints(150), 6);
    EXPECT_EQ(LayoutForSize(2220, 2460, 0).Label8FontPoints, std::nullopt);
    EXPECT_EQ(LayoutForSize(2205, 2460, 0).Label8FontPoints, 8);
}

TEST(MainLayout, ExtremeSizesDoNotOverflow)
{
    const MainLayout huge = LayoutForSize(INT32_MAX, INT32_MAX, 265);
    EXPECT_EQ(huge.picdisplayHeight, int64_t{INT32_MAX} - 95);
    const MainLayout tiny = LayoutForSize(INT32_MIN, INT32_MIN, 0);
    EXPECT_FALSE(tiny.picdisplayHeight.has_value());
    EXPECT_EQ(tiny.Label8Top, int64_t{INT32_MIN} - 370);
}

}  // namespace
}  // namespace kuvell
