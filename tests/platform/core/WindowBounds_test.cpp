// SPDX-License-Identifier: MIT
#include "platform/core/WindowBounds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

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

}  // namespace
}  // namespace kuvell
