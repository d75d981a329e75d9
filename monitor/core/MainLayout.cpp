// SPDX-License-Identifier: MIT
#include "monitor/core/MainLayout.h"

#include <algorithm>

#include "platform/core/Twips.h"
#include "settings/core/ProgramVariables.h"

namespace kuvell {

namespace {

constexpr int64_t kGraphRightMargin = 160;  // from the graph's right edge to the outer right edge

// Design geometry in twips.
constexpr int kDesignClientWidth = 6120;
constexpr int kDesignClientHeight = 4485;
constexpr int kDesignGraphPanelHeight = 2040;
constexpr int kDesignGraphViewHeight = 1980;
constexpr int kDesignGraphBufferWidth = 4560;
constexpr int kDesignGraphBufferHeight = 2040;
constexpr int kDesignRateLabelTop = 2100;
constexpr int kDesignRateLabelWidth = 5610;
constexpr double kDesignRateLabelPoints = 9.75;

int px(int64_t twips) { return twipsToPixels(static_cast<double>(twips)); }

PixelRect clientArea(PixelSize window)
{
    return {kSizingBorder.left, kSizingBorder.top,
            window.width - kSizingBorder.left - kSizingBorder.right,
            window.height - kSizingBorder.top - kSizingBorder.bottom};
}

// The part of `child` (in its parent's coordinates) inside `area`, in the child's own.
PixelRect shownWithin(const PixelRect& child, const PixelRect& area)
{
    return child.intersected(area).translated(-child.x, -child.y);
}

void clip(MainControls& controls, PixelSize window)
{
    const PixelRect panelInside{kPanelBorder, kPanelBorder, controls.panel.width - 2 * kPanelBorder,
                                controls.panel.height - 2 * kPanelBorder};
    controls.graphShown = shownWithin(controls.graph, panelInside);
    controls.rateLabelShown = shownWithin(controls.rateLabel, clientArea(window));
}

std::optional<int64_t> nonNegative(int64_t size)
{
    if (size < 0) {
        return std::nullopt;
    }
    return size;
}

}  // namespace

MainLayout layoutForSize(int32_t width, int32_t height, int16_t extraGraphHeight)
{
    const int64_t W = width;
    const int64_t H = height;
    const int64_t G = extraGraphHeight;
    // In graph-only mode the panel grows 280 twips, 15 more than the graph boxes.
    const int64_t panelExtra = G == kGraphOnlyExtraHeight ? G + 15 : 0;

    MainLayout layout;
    layout.graphViewLeft = W - kGraphViewWidth - kGraphRightMargin;
    layout.graphViewHeight = nonNegative(H - 360 + G);
    layout.graphBufferHeight = nonNegative(H - 360 + G);
    layout.graphPanelHeight = nonNegative(H - 390 + panelExtra);
    layout.rateLabelTop = H - 370 + G;
    layout.rateLabelWidth = nonNegative(W - 135);
    layout.rateLabelFontPoints = rateLabelFontPoints(width);
    return layout;
}

std::optional<int> rateLabelFontPoints(int32_t width)
{
    if (width > 2220) {
        return 10;
    }
    if (width > 2000 && width < 2220) {
        return 8;
    }
    if (width < 2000) {
        return 6;
    }
    return std::nullopt;
}

PixelSize initialWindowSize()
{
    return {px(kDesignClientWidth) + kSizingBorder.left + kSizingBorder.right,
            px(kDesignClientHeight) + kSizingBorder.top + kSizingBorder.bottom};
}

MainControls initialMainControls()
{
    MainControls controls;
    controls.panel = {kSizingBorder.left, kSizingBorder.top, px(kDesignClientWidth),
                      px(kDesignGraphPanelHeight)};
    controls.graph = {kPanelBorder, kPanelBorder + px(kGraphViewTop), px(kGraphViewWidth),
                      px(kDesignGraphViewHeight)};
    controls.rateLabel = {kSizingBorder.left, kSizingBorder.top + px(kDesignRateLabelTop),
                          px(kDesignRateLabelWidth), px(kRateLabelHeight)};
    controls.graphBuffer = {px(kDesignGraphBufferWidth), px(kDesignGraphBufferHeight)};
    controls.rateLabelFontPoints = kDesignRateLabelPoints;
    clip(controls, initialWindowSize());
    return controls;
}

MainControls layOutMainControls(const MainControls& current, PixelSize window,
                                int16_t extraGraphHeight)
{
    const MainLayout layout =
        layoutForSize(static_cast<int32_t>(pixelsToTwips(window.width)),
                      static_cast<int32_t>(pixelsToTwips(window.height)), extraGraphHeight);
    const PixelRect client = clientArea(window);
    MainControls controls = current;

    // The panel is docked to the top, always as wide as the client area, and,
    // as every control, keeps clear of the sizing border.
    PixelRect& panel = controls.panel;
    panel.width = std::max(0, client.width);
    if (layout.graphPanelHeight) {
        panel.height = px(*layout.graphPanelHeight);
    }
    panel.height = std::max(0, std::min(panel.bottom(), client.bottom()) - panel.y + 1);

    controls.graph.x = kPanelBorder + px(layout.graphViewLeft);
    if (layout.graphViewHeight) {
        controls.graph.height = px(*layout.graphViewHeight);
    }
    if (layout.graphBufferHeight) {
        controls.graphBuffer.height = px(*layout.graphBufferHeight);
    }
    controls.rateLabel.y = kSizingBorder.top + px(layout.rateLabelTop);
    if (layout.rateLabelWidth) {
        controls.rateLabel.width = px(*layout.rateLabelWidth);
    }
    if (layout.rateLabelFontPoints) {
        controls.rateLabelFontPoints = *layout.rateLabelFontPoints;
    }
    clip(controls, window);
    return controls;
}

}  // namespace kuvell
