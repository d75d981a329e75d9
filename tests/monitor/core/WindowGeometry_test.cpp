// SPDX-License-Identifier: MIT
#include "monitor/core/WindowGeometry.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

constexpr PixelMargins kBorder{3, 4, 3, 4};
constexpr WindowEdges kNone;

TEST(WindowGeometry, SizingEdgesFollowTheBorder)
{
    const PixelSize window{310, 164};
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {0, 0}), WindowEdge::Left | WindowEdge::Top);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {309, 163}), WindowEdge::Right | WindowEdge::Bottom);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {2, 80}), WindowEdges(WindowEdge::Left));
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {3, 80}), kNone);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {150, 160}), WindowEdges(WindowEdge::Bottom));
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {150, 159}), kNone);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {310, 80}), kNone);  // outside
    EXPECT_EQ(sizingEdgesAt(window, kBorder, {-1, -1}), kNone);
    // The smallest window is nearly all border; each point still gets one side per axis.
    EXPECT_EQ(sizingEdgesAt({10, 10}, kBorder, {5, 5}), kNone);
    EXPECT_EQ(sizingEdgesAt({4, 4}, kBorder, {1, 1}), WindowEdge::Right | WindowEdge::Bottom);
    // A window of no size has no border to grip.
    EXPECT_EQ(sizingEdgesAt({0, 0}, kBorder, {0, 0}), kNone);
    // As bits for a frontend, and back; bits beyond the four edges are no edge.
    EXPECT_EQ((WindowEdge::Left | WindowEdge::Bottom).bits(), 2 | 8);
    EXPECT_EQ(WindowEdges::fromBits(0xF3), WindowEdge::Top | WindowEdge::Left);
}

PixelRect pixelRect(int x, int y, int width, int height) { return {x, y, width, height}; }

TEST(WindowGeometry, ResizeStaysWithinTheBoundsAndKeepsTheOppositeEdges)
{
    const PixelRect start{100, 100, 200, 100};
    EXPECT_EQ(resizedGeometry(start, WindowEdge::Right, {50, 0}), pixelRect(100, 100, 250, 100));
    EXPECT_EQ(resizedGeometry(start, WindowEdge::Right, {400, 0}), pixelRect(100, 100, 310, 100));
    EXPECT_EQ(resizedGeometry(start, WindowEdge::Bottom, {0, 20000}),
              pixelRect(100, 100, 200, 10000));
    // Dragging the left or top edge moves that edge; the right and bottom stay put.
    const PixelRect left = resizedGeometry(start, WindowEdge::Left | WindowEdge::Top, {195, 95});
    EXPECT_EQ(left.width, 10);
    EXPECT_EQ(left.height, 10);
    EXPECT_EQ(left.right(), start.right());
    EXPECT_EQ(left.bottom(), start.bottom());
    const PixelRect wider = resizedGeometry(start, WindowEdge::Left, {-300, 0});
    EXPECT_EQ(wider.width, 310);
    EXPECT_EQ(wider.right(), start.right());
    // No edge: the size is only held to the bounds, the place kept.
    EXPECT_EQ(resizedGeometry(pixelRect(5, 6, 400, 5), kNone, {70, 80}), pixelRect(5, 6, 310, 10));
}

}  // namespace
}  // namespace kuvell
