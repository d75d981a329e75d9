// SPDX-License-Identifier: MIT
#include "monitor/core/MainLayout.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

TEST(MainLayout, DefaultSizeInNormalMode)
{
    const MainLayout layout = layoutForSize(4650, 2460, 0);
    EXPECT_EQ(layout.graphViewLeft, -10);
    EXPECT_EQ(layout.graphViewHeight, 2100);
    EXPECT_EQ(layout.graphBufferHeight, 2100);
    EXPECT_EQ(layout.graphPanelHeight, 2070);
    EXPECT_EQ(layout.rateLabelTop, 2090);
    EXPECT_EQ(layout.rateLabelWidth, 4515);
    EXPECT_EQ(layout.rateLabelFontPoints, 10);
}

TEST(MainLayout, DefaultSizeInGraphOnlyMode)
{
    const MainLayout layout = layoutForSize(4650, 2460, 265);
    EXPECT_EQ(layout.graphViewLeft, -10);
    EXPECT_EQ(layout.graphViewHeight, 2365);
    EXPECT_EQ(layout.graphBufferHeight, 2365);
    EXPECT_EQ(layout.graphPanelHeight, 2350);
    EXPECT_EQ(layout.rateLabelTop, 2355);
    EXPECT_EQ(layout.rateLabelWidth, 4515);
}

TEST(MainLayout, StepsThatWouldSetANegativeSizeAreLeftOut)
{
    const MainLayout low = layoutForSize(4650, 300, 0);
    EXPECT_FALSE(low.graphViewHeight.has_value());
    EXPECT_FALSE(low.graphBufferHeight.has_value());
    EXPECT_FALSE(low.graphPanelHeight.has_value());
    EXPECT_EQ(low.rateLabelTop, -70);  // negative positions are still applied
    EXPECT_EQ(low.rateLabelWidth, 4515);

    // Between 360 and 390 twips only the panel step is skipped.
    const MainLayout between = layoutForSize(4650, 375, 0);
    EXPECT_EQ(between.graphViewHeight, 15);
    EXPECT_FALSE(between.graphPanelHeight.has_value());
    EXPECT_EQ(layoutForSize(4650, 360, 0).graphViewHeight, 0);

    // Graph-only mode keeps the boxes at a height where normal mode skips them.
    EXPECT_EQ(layoutForSize(4650, 300, 265).graphViewHeight, 205);
    EXPECT_EQ(layoutForSize(4650, 300, 265).graphPanelHeight, 190);

    const MainLayout narrow = layoutForSize(100, 2460, 0);
    EXPECT_FALSE(narrow.rateLabelWidth.has_value());
    EXPECT_EQ(narrow.graphViewLeft, -4560);
}

TEST(MainLayout, FontBandsAndTheirEdges)
{
    EXPECT_EQ(rateLabelFontPoints(4650), 10);
    EXPECT_EQ(rateLabelFontPoints(2221), 10);
    EXPECT_EQ(rateLabelFontPoints(2220), std::nullopt);
    EXPECT_EQ(rateLabelFontPoints(2219), 8);
    EXPECT_EQ(rateLabelFontPoints(2001), 8);
    EXPECT_EQ(rateLabelFontPoints(2000), std::nullopt);
    EXPECT_EQ(rateLabelFontPoints(1999), 6);
    EXPECT_EQ(rateLabelFontPoints(150), 6);
    EXPECT_EQ(layoutForSize(2220, 2460, 0).rateLabelFontPoints, std::nullopt);
    EXPECT_EQ(layoutForSize(2205, 2460, 0).rateLabelFontPoints, 8);
}

TEST(MainLayout, ExtremeSizesDoNotOverflow)
{
    const MainLayout huge = layoutForSize(INT32_MAX, INT32_MAX, 265);
    EXPECT_EQ(huge.graphViewHeight, int64_t{INT32_MAX} - 95);
    const MainLayout tiny = layoutForSize(INT32_MIN, INT32_MIN, 0);
    EXPECT_FALSE(tiny.graphViewHeight.has_value());
    EXPECT_EQ(tiny.rateLabelTop, int64_t{INT32_MIN} - 370);
}

TEST(MainLayout, AtAHigherDisplayScaleEveryPixelSizeGrowsWithIt)
{
    // 150 %: a 456-pixel buffer behind a 450-pixel graph, in borders of 4 and
    // 6 pixels (3 and 4 times 1.5, ties to even) and 3.
    const MainControls initial = initialMainControls(144);
    EXPECT_EQ(initial.graph, (PixelRect{3, 1, 450, 198}));
    EXPECT_EQ(initial.graphBuffer, (PixelSize{456, 204}));
    EXPECT_EQ(initialWindowSize(144), (PixelSize{620, 460}));

    // The default window, 465 x 246 at 144 dpi and 620 x 328 at 192, lays out
    // as 310 x 164 at 96: the same twips, the same font in points.
    const MainControls at150 = layOutMainControls(initial, {465, 246}, 0, 144);
    EXPECT_EQ(at150.rateLabel, (PixelRect{4, 6 + 209, 452, 26}));
    EXPECT_EQ(at150.graphShown, (PixelRect{1, 2, 449, 201}));  // within the 3-pixel border
    const MainControls at200 = layOutMainControls(initialMainControls(192), {620, 328}, 0, 192);
    EXPECT_EQ(at200.graph, (PixelRect{4 - 1, 2, 600, 280}));
    EXPECT_EQ(at200.rateLabel.y, 8 + 279);  // 2090 twips: 278.67 pixels
}

}  // namespace
}  // namespace kuvell
