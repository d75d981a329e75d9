#include "platform/core/WindowBounds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kuvell {
namespace {

WindowSize Clamp(int32_t cx, int32_t cy) { return ClampWindowSize({cx, cy}); }

TEST(ClampWindowSize, WidthStaysBetweenTenAndThreeHundredTen)
{
    EXPECT_EQ(Clamp(400, 100).cx, 310);
    EXPECT_EQ(Clamp(5, 100).cx, 10);
    EXPECT_EQ(Clamp(0, 100).cx, 10);
    EXPECT_EQ(Clamp(-5, 100).cx, 10);
    EXPECT_EQ(Clamp(9, 100).cx, 10);
    EXPECT_EQ(Clamp(10, 100).cx, 10);
    EXPECT_EQ(Clamp(310, 100).cx, 310);
    EXPECT_EQ(Clamp(311, 100).cx, 310);
    EXPECT_EQ(Clamp(std::numeric_limits<int32_t>::min(), 100).cx, 10);
    EXPECT_EQ(Clamp(std::numeric_limits<int32_t>::max(), 100).cx, 310);
}

TEST(ClampWindowSize, HeightStaysBetweenTenAndTenThousand)
{
    EXPECT_EQ(Clamp(100, 20000).cy, 10000);
    EXPECT_EQ(Clamp(100, 0).cy, 10);
    EXPECT_EQ(Clamp(100, -1).cy, 10);
    EXPECT_EQ(Clamp(100, 10000).cy, 10000);
    EXPECT_EQ(Clamp(100, 10001).cy, 10000);
    EXPECT_EQ(Clamp(100, std::numeric_limits<int32_t>::min()).cy, 10);
}

TEST(ClampWindowSize, SizesWithinBoundsAndTheOtherAxisAreKept)
{
    const WindowSize kept = Clamp(310, 164);
    EXPECT_EQ(kept.cx, 310);
    EXPECT_EQ(kept.cy, 164);
    // Each axis is bounded on its own: a wide proposal leaves the height alone.
    const WindowSize wide = Clamp(400, 20);
    EXPECT_EQ(wide.cx, 310);
    EXPECT_EQ(wide.cy, 20);
    const WindowSize tall = Clamp(200, 20000);
    EXPECT_EQ(tall.cx, 200);
    EXPECT_EQ(tall.cy, 10000);
}

}  // namespace
}  // namespace kuvell
