// SPDX-License-Identifier: MIT
#include "monitor/core/GraphRaster.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/PixelCount.h"

namespace kuvell {
namespace {

constexpr int32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBackground = 0xBEAA49;
constexpr uint32_t kRedRgb = 0xFFFF0000;
constexpr uint32_t kGreenRgb = 0xFF00FF00;
constexpr uint32_t kBackgroundRgb = 0xFF49AABE;
constexpr uint32_t kOtherRgb = 0xFF010203;

PixelRect pixelRect(int x, int y, int width, int height) { return {x, y, width, height}; }

PixelImage makeDisplay(int width, int height)
{
    return PixelImage(width, height, kOtherRgb);  // anything the copy must overwrite
}

using testsupport::countPixels;

// Rows of `column` from `first` to `last` (inclusive) all have `colour`.
::testing::AssertionResult columnIs(const PixelImage& image, int column, int first, int last,
                                    uint32_t colour)
{
    for (int row = first; row <= last; ++row) {
        if (image.pixel(column, row) != colour) {
            return ::testing::AssertionFailure()
                   << "column " << column << " row " << row << " is " << std::hex
                   << image.pixel(column, row) << ", expected " << colour;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(GraphRaster, FirstTickAtDefaultSizeShowsTheDownloadBarAndBackgroundBelowTheBuffer)
{
    // Same outer height for both boxes: the buffer draws into 300 x 128, the display is 300 x 132.
    GraphBuffer graphBuffer(304, 132);
    graphBuffer.setBackground(kBackground);
    PixelImage display = makeDisplay(300, 132);
    RateHistories histories;
    histories.advance(10240, 2048);

    graphBuffer.paintFrame(histories, 133, kRed, kGreen, display);

    EXPECT_TRUE(columnIs(display, 299, 0, 121, kBackgroundRgb));
    EXPECT_TRUE(columnIs(display, 299, 122, 127, kRedRgb));
    // The upload bar (from ~130) and the display's four extra rows show the background.
    EXPECT_TRUE(columnIs(display, 299, 128, 131, kBackgroundRgb));
    EXPECT_EQ(countPixels(display, kRedRgb), 6);
    EXPECT_EQ(countPixels(display, kBackgroundRgb), 300 * 132 - 6);
    // The buffer is left clear for the next frame.
    EXPECT_EQ(countPixels(graphBuffer, kBackgroundRgb), 300 * 128);
}

TEST(GraphRaster, LargerBarIsDrawnFirstAndATieShowsTheDownloadColour)
{
    GraphBuffer graphBuffer(304, 104);  // a 300 x 100 drawing area
    graphBuffer.setBackground(kBackground);
    PixelImage display = makeDisplay(300, 100);
    RateHistories histories;
    histories.advance(10 * 1024, 20 * 1024);  // slot 3 after three ticks: upload larger
    histories.advance(30 * 1024, 20 * 1024);  // slot 2: download larger
    histories.advance(15 * 1024, 15 * 1024);  // slot 1: equal

    graphBuffer.paintFrame(histories, 100, kRed, kGreen, display);

    EXPECT_TRUE(columnIs(display, 297, 0, 79, kBackgroundRgb));
    EXPECT_TRUE(columnIs(display, 297, 80, 89, kGreenRgb));
    EXPECT_TRUE(columnIs(display, 297, 90, 99, kRedRgb));
    EXPECT_TRUE(columnIs(display, 298, 0, 69, kBackgroundRgb));
    EXPECT_TRUE(columnIs(display, 298, 70, 79, kRedRgb));
    EXPECT_TRUE(columnIs(display, 298, 80, 99, kGreenRgb));
    EXPECT_TRUE(columnIs(display, 299, 85, 99, kRedRgb));
    EXPECT_EQ(countPixels(display, kGreenRgb), 30);
}

TEST(GraphRaster, ScaleZeroOrNegativeDrawsNoBarsAndFullScaleFillsTheColumn)
{
    GraphBuffer graphBuffer(304, 104);
    graphBuffer.setBackground(kBackground);
    PixelImage display = makeDisplay(300, 100);
    RateHistories histories;
    for (int tick = 0; tick < 299; ++tick) {
        histories.advance(200000, 150000);
    }

    for (const int32_t scale : {0, -1}) {
        graphBuffer.paintFrame(histories, scale, kRed, kGreen, display);
        EXPECT_EQ(countPixels(display, kBackgroundRgb), 300 * 100) << "scale " << scale;
    }

    // Both rates run far above a scale of 7: each filled column is full, and the
    // smaller upload bar, drawn last, covers the download bar completely.
    graphBuffer.paintFrame(histories, 7, kRed, kGreen, display);
    EXPECT_TRUE(columnIs(display, 0, 0, 99, kBackgroundRgb));  // slot 300 is never filled
    EXPECT_TRUE(columnIs(display, 1, 0, 99, kGreenRgb));
    EXPECT_TRUE(columnIs(display, 299, 0, 99, kGreenRgb));
    EXPECT_EQ(countPixels(display, kGreenRgb), 299 * 100);
}

TEST(GraphRaster, NewBackgroundClearsTheBufferAndFillsTheRowsBelowIt)
{
    GraphBuffer graphBuffer(304, 132);
    PixelImage display = makeDisplay(300, 132);
    RateHistories histories;
    graphBuffer.setBackground(kGreen);
    graphBuffer.paintFrame(histories, 133, kRed, kGreen, display);
    EXPECT_EQ(countPixels(display, kGreenRgb), 300 * 132);

    graphBuffer.setBackground(kBackground);
    EXPECT_EQ(countPixels(graphBuffer, kBackgroundRgb), 300 * 128);
    graphBuffer.paintFrame(histories, 133, kRed, kGreen, display);
    EXPECT_EQ(countPixels(display, kBackgroundRgb), 300 * 132);

    // Grown after a new background: the added area is clear in that colour too.
    graphBuffer.setBackground(kGreen);
    graphBuffer.setOuterSize(404, 204);
    PixelImage larger = makeDisplay(400, 200);
    histories.advance(10 * 1024, 0);  // rows 190..199 of the newest column
    graphBuffer.paintFrame(histories, 200, kRed, kRed, larger);
    EXPECT_TRUE(columnIs(larger, 399, 190, 199, kRedRgb));
    EXPECT_EQ(countPixels(larger, kGreenRgb), 400 * 200 - 10);
    EXPECT_EQ(countPixels(graphBuffer, kGreenRgb), 400 * 200);
}

// The smallest rectangle holding every pixel that differs between the images.
PixelRect changedPixels(const PixelImage& before, const PixelImage& after)
{
    PixelRect changed;
    for (int row = 0; row < after.height(); ++row) {
        for (int column = 0; column < after.width(); ++column) {
            if (before.pixel(column, row) != after.pixel(column, row)) {
                changed = changed.united({column, row, 1, 1});
            }
        }
    }
    return changed;
}

TEST(GraphRaster, EachFrameReportsWhereTheDisplayChanged)
{
    GraphBuffer graphBuffer(304, 104);  // a 300 x 100 drawing area
    graphBuffer.setBackground(kBackground);
    PixelImage display = makeDisplay(300, 104);  // four rows below the buffer's area
    RateHistories histories;
    histories.advance(10 * 1024, 0);  // rows 94..99 of the newest column

    // Every pixel held something else before the first frame.
    EXPECT_EQ(graphBuffer.paintFrame(histories, 100, kRed, kGreen, display), display.rect());
    EXPECT_TRUE(columnIs(display, 299, 94, 99, kRedRgb));

    // The same frame again changes nothing, so nothing needs repainting.
    PixelImage before = display;
    EXPECT_TRUE(graphBuffer.paintFrame(histories, 100, kRed, kGreen, display).empty());
    EXPECT_EQ(display, before);

    // The reported box holds every changed pixel, only the changed rows, and
    // leaves out the unchanged background left of the bars.
    const auto expectBoxAround = [&](const PixelRect& reported, const PixelRect& exact) {
        EXPECT_TRUE(reported.contains(exact)) << "reported " << reported;
        EXPECT_EQ(reported.y, exact.y);
        EXPECT_EQ(reported.bottom(), exact.bottom());
        EXPECT_GE(reported.x, 280);
    };

    // One more equal tick: only the next column to the left gains a bar.
    histories.advance(10 * 1024, 0);
    PixelRect reported = graphBuffer.paintFrame(histories, 100, kRed, kGreen, display);
    EXPECT_EQ(changedPixels(before, display), pixelRect(298, 94, 1, 6));
    expectBoxAround(reported, pixelRect(298, 94, 1, 6));
    EXPECT_EQ(countPixels(display, kRedRgb), 12);

    // A lower rate in the newest slot: the bars move left and the newest one
    // is shorter.
    before = display;
    histories.advance(5 * 1024, 0);
    reported = graphBuffer.paintFrame(histories, 100, kRed, kGreen, display);
    EXPECT_EQ(changedPixels(before, display), pixelRect(297, 94, 3, 6));
    expectBoxAround(reported, pixelRect(297, 94, 3, 6));
    EXPECT_TRUE(columnIs(display, 299, 94, 98, kBackgroundRgb));
    EXPECT_TRUE(columnIs(display, 299, 99, 99, kRedRgb));
    EXPECT_TRUE(columnIs(display, 297, 94, 99, kRedRgb));

    // A pixel altered from outside, in rows the frames leave clear, is put right.
    display.setPixel(10, 5, kOtherRgb);
    const PixelRect repaired = graphBuffer.paintFrame(histories, 100, kRed, kGreen, display);
    EXPECT_TRUE(repaired.contains(10, 5));
    EXPECT_EQ(repaired.height, 1);
    EXPECT_EQ(countPixels(display, kRedRgb), 13);
    EXPECT_EQ(countPixels(display, kBackgroundRgb), 300 * 104 - 13);

    // A new colour and a full-height scale reach every bar, and the buffer is
    // left clear even where bars filled whole columns.
    before = display;
    reported = graphBuffer.paintFrame(histories, 5, kGreen, kGreen, display);
    expectBoxAround(reported, pixelRect(297, 0, 3, 100));
    EXPECT_EQ(countPixels(display, kGreenRgb), 300);
    EXPECT_EQ(countPixels(display, kRedRgb), 0);
    EXPECT_EQ(countPixels(graphBuffer, kBackgroundRgb), 300 * 100);

    // A new background repaints every pixel that shows it, also below the buffer.
    graphBuffer.setBackground(kRed);
    EXPECT_EQ(graphBuffer.paintFrame(histories, 5, kGreen, kGreen, display), display.rect());
    EXPECT_EQ(countPixels(display, kRedRgb), 300 * 104 - 300);
}

TEST(GraphRaster, ADisplayWiderThanTheBufferKeepsItsExtraColumnsInTheBackground)
{
    GraphBuffer graphBuffer(104, 104);  // a 100 x 100 drawing area
    graphBuffer.setBackground(kBackground);
    PixelImage display = makeDisplay(130, 100);
    RateHistories histories;
    histories.advance(100 * 1024, 0);  // the newest column, full height

    EXPECT_EQ(graphBuffer.paintFrame(histories, 100, kRed, kGreen, display), display.rect());
    EXPECT_TRUE(columnIs(display, 99, 0, 99, kRedRgb));
    EXPECT_EQ(countPixels(display, kBackgroundRgb), 130 * 100 - 100);

    // Only the extra columns were touched from outside: only they are repainted.
    display.setPixel(120, 50, kOtherRgb);
    display.setPixel(125, 60, kOtherRgb);
    EXPECT_EQ(graphBuffer.paintFrame(histories, 100, kRed, kGreen, display),
              pixelRect(120, 50, 6, 11));
    EXPECT_EQ(countPixels(display, kBackgroundRgb), 130 * 100 - 100);
}

TEST(GraphRaster, AtAHigherDisplayScaleEachBarTakesWholePixelsWithNoGapAndNoOverlap)
{
    // Neighbouring slots in different colours, every bar full height.
    RateHistories histories;
    for (std::size_t slot = kNewestSlot; slot <= kOldestFilledSlot; ++slot) {
        (slot % 2 == 1 ? histories.downloadHistory : histories.uploadHistory)[slot] = 1000;
    }
    for (const int dpi : {144, 192}) {
        SCOPED_TRACE(dpi);
        const int width = 300 * dpi / 96;       // the graph's 4500 twips
        const int border = dpi == 144 ? 3 : 4;  // 2 pixels at 96 dpi
        GraphBuffer graphBuffer(0, 0);
        graphBuffer.setOuterSize(width + 2 * border, 100 + 2 * border, dpi);
        graphBuffer.setBackground(kBackground);
        ASSERT_EQ(graphBuffer.width(), width);
        ASSERT_EQ(graphBuffer.height(), 100);
        PixelImage display = makeDisplay(width, 100);
        graphBuffer.paintFrame(histories, 100, kRed, kGreen, display);

        // From the right edge leftwards: runs of one colour, one a slot.
        std::vector<int> runs;
        int column = width - 1;
        for (uint32_t colour = kRedRgb; columnIs(display, column, 0, 99, colour);
             colour = colour == kRedRgb ? kGreenRgb : kRedRgb) {
            int run = 0;
            for (; column >= 0 && columnIs(display, column, 0, 99, colour); --column) ++run;
            runs.push_back(run);
        }
        EXPECT_EQ(runs.size(), kOldestFilledSlot);
        for (const int run : runs) {
            EXPECT_TRUE(dpi == 144 ? run == 1 || run == 2 : run == 2) << run;
        }
        // The 299 filled slots reach column 2 at both scales; left of them the background.
        EXPECT_EQ(column + 1, 2);
        EXPECT_EQ(countPixels(display, kBackgroundRgb), (column + 1) * 100);
    }
}

TEST(GraphRaster, TinyAndEmptyBoxesAreSafe)
{
    RateHistories histories;
    histories.advance(100000, 100000);

    GraphBuffer noArea(3, 3);  // smaller than its own border
    EXPECT_EQ(noArea.width() * noArea.height(), 0);
    PixelImage display = makeDisplay(300, 10);
    noArea.setBackground(kBackground);
    noArea.paintFrame(histories, 133, kRed, kGreen, display);
    EXPECT_EQ(countPixels(display, kBackgroundRgb), 300 * 10);

    GraphBuffer graphBuffer(304, 132);
    PixelImage nothing;
    graphBuffer.paintFrame(histories, 133, kRed, kGreen, nothing);  // a display with no pixels
    EXPECT_TRUE(nothing.empty());

    // Growing keeps the drawing area the same width and follows the new height.
    graphBuffer.setOuterSize(304, 2000);
    EXPECT_EQ(graphBuffer.width(), 300);
    EXPECT_EQ(graphBuffer.height(), 1996);
    EXPECT_EQ(graphBuffer.outerSize(), (PixelSize{304, 2000}));
}

}  // namespace
}  // namespace kuvell
