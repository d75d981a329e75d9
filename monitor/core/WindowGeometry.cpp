// SPDX-License-Identifier: MIT
#include "monitor/core/WindowGeometry.h"

#include "platform/core/WindowBounds.h"

namespace kuvell {

WindowEdges sizingEdgesAt(PixelSize windowSize, PixelMargins border, PixelPoint pos)
{
    if (!PixelRect{0, 0, windowSize.width, windowSize.height}.contains(pos.x, pos.y)) {
        return {};
    }
    const bool left = pos.x < border.left;
    const bool right = pos.x >= windowSize.width - border.right;
    const bool top = pos.y < border.top;
    const bool bottom = pos.y >= windowSize.height - border.bottom;
    // In a window narrower than its two borders a point is on both sides: the far one wins.
    return WindowEdges()
        .with(WindowEdge::Left, left && !right)
        .with(WindowEdge::Right, right)
        .with(WindowEdge::Top, top && !bottom)
        .with(WindowEdge::Bottom, bottom);
}

PixelRect resizedGeometry(PixelRect start, WindowEdges edges, PixelPoint delta)
{
    int width = start.width;
    int height = start.height;
    if (edges.has(WindowEdge::Left)) {
        width -= delta.x;
    } else if (edges.has(WindowEdge::Right)) {
        width += delta.x;
    }
    if (edges.has(WindowEdge::Top)) {
        height -= delta.y;
    } else if (edges.has(WindowEdge::Bottom)) {
        height += delta.y;
    }
    const WindowSize bounded = clampWindowSize({width, height});
    PixelRect result{start.x, start.y, bounded.cx, bounded.cy};
    // The dragged left or top edge moves; the right or bottom one stays put.
    if (edges.has(WindowEdge::Left)) {
        result.x = start.right() - result.width + 1;
    }
    if (edges.has(WindowEdge::Top)) {
        result.y = start.bottom() - result.height + 1;
    }
    return result;
}

}  // namespace kuvell
