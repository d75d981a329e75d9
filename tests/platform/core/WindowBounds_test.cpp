// SPDX-License-Identifier: MIT
#include "platform/core/WindowBounds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace kuvell {
namespace {

WindowSize clamp(int32_t cx, int32_t cy) { return clampWindowSize({cx, cy}); }

TEST(ClampWindowSize, WidthStaysBetweenTenAndThreeHundredTen)
{
    EXPECT_EQ(clamp(400, 100).cx, 310);
    EXPECT_EQ(clamp(5, 100).cx, 10);
    EXPECT_EQ(clamp(0, 100).cx, 10);
    EXPECT_EQ(clamp(-5, 100).cx, 10);
    EXPECT_EQ(clamp(9, 100).cx, 10);
    EXPECT_EQ(clamp(10, 100).cx, 10);
    EXPECT_EQ(clamp(310, 100).cx, 310);
    EXPECT_EQ(clamp(311, 100).cx, 310);
    EXPECT_EQ(clamp(std::numeric_limits<int32_t>::min(), 100).cx, 10);
    EXPECT_EQ(clamp(std::numeric_limits<int32_t>::max(), 100).cx, 310);
}

TEST(ClampWindowSize, HeightStaysBetweenTenAndTenThousand)
{
    EXPECT_EQ(clamp(100, 20000).cy, 10000);
    EXPECT_EQ(clamp(100, 0).cy, 10);
    EXPECT_EQ(clamp(100, -1).cy, 10);
    EXPECT_EQ(clamp(100, 10000).cy, 10000);
    EXPECT_EQ(clamp(100, 10001).cy, 10000);
    EXPECT_EQ(clamp(100, std::numeric_limits<int32_t>::min()).cy, 10);
}

TEST(ClampWindowSize, SizesWithinBoundsAndTheOtherAxisAreKept)
{
    const WindowSize kept = clamp(310, 164);
    EXPECT_EQ(kept.cx, 310);
    EXPECT_EQ(kept.cy, 164);
    // Each axis is bounded on its own: a wide proposal leaves the height alone.
    const WindowSize wide = clamp(400, 20);
    EXPECT_EQ(wide.cx, 310);
    EXPECT_EQ(wide.cy, 20);
    const WindowSize tall = clamp(200, 20000);
    EXPECT_EQ(tall.cx, 200);
    EXPECT_EQ(tall.cy, 10000);
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// A laptop's screen with a panel at its top, and a larger monitor to its left.
const std::vector<PixelRect> kScreens{{0, 24, 1280, 776}, {-1920, -200, 1920, 1080}};

PixelRect opened(int32_t left, int32_t top, int32_t width = 310, int32_t height = 164)
{
    return keepReachable({left, top, width, height}, kScreens);
}

TEST(KeepReachable, AWindowWithThirtyByThirtyPixelsOnOneScreenStaysWhereItIs)
{
    for (const PixelRect& at : std::vector<PixelRect>{{100, 100, 310, 164},
                                                      {1250, 770, 310, 164},    // 30 x 30 left
                                                      {-2000, -300, 310, 164},  // on the left one
                                                      {1270, 790, 10, 10},  // all of a small one
                                                      {-155, 500, 310, 164}}) {  // half on each
        EXPECT_EQ(keepReachable(at, kScreens), at) << at.x << "," << at.y;
    }
    // Nowhere to move to: left as it is.
    EXPECT_EQ(keepReachable({kMax, kMax, 310, 164}, {}), (PixelRect{kMax, kMax, 310, 164}));
    const std::vector<PixelRect> noArea{{0, 0, 0, 800}, {0, 0, 1280, -1}};
    EXPECT_EQ(keepReachable({5000, 0, 310, 164}, noArea), (PixelRect{5000, 0, 310, 164}));
}

TEST(KeepReachable, AnythingLessMovesTheLeastWayOntoTheNearestScreenKeepingItsSize)
{
    EXPECT_EQ(opened(1251, 100), (PixelRect{970, 100, 310, 164})) << "29 pixels wide on screen";
    EXPECT_EQ(opened(100, 24 - 135), (PixelRect{100, 24, 310, 164})) << "under the panel";
    EXPECT_EQ(opened(kMax, kMax), (PixelRect{970, 636, 310, 164}));
    EXPECT_EQ(opened(kMax, kMin), (PixelRect{970, 24, 310, 164}));
    EXPECT_EQ(opened(kMin, kMin), (PixelRect{-1920, -200, 310, 164}));
    EXPECT_EQ(opened(-3000, 2000, 10, 10), (PixelRect{-1920, 870, 10, 10}));
    EXPECT_EQ(opened(kMax, kMax, kMax, kMax), (PixelRect{0, 24, kMax, kMax}))
        << "too large for the screen: from its top-left corner";
    // A window of no size is never reachable, and keeps its size all the same.
    EXPECT_EQ(opened(5000, 100, -7, 164), (PixelRect{1280, 100, -7, 164}));
}

}  // namespace
}  // namespace kuvell
