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

// Twips to pixels, and the borders, at one display scale.
class Scale
{
  public:
    explicit Scale(int dpi) : dpi_(dpi) {}
    int px(int64_t twips) const { return twipsToPixels(static_cast<double>(twips), dpi_); }
    int32_t twips(int pixels) const { return static_cast<int32_t>(pixelsToTwips(pixels, dpi_)); }
    int panelBorder() const { return scaledPixels(kPanelBorder, dpi_); }
    PixelMargins sizingBorder() const
    {
        return {scaledPixels(kSizingBorder.left, dpi_), scaledPixels(kSizingBorder.top, dpi_),
                scaledPixels(kSizingBorder.right, dpi_), scaledPixels(kSizingBorder.bottom, dpi_)};
    }
    PixelRect clientArea(PixelSize window) const
    {
        const PixelMargins border = sizingBorder();
        return {border.left, border.top, window.width - border.left - border.right,
                window.height - border.top - border.bottom};
    }

  private:
    int dpi_;
};

// The part of `child` (in its parent's coordinates) inside `area`, in the child's own.
PixelRect shownWithin(const PixelRect& child, const PixelRect& area)
{
    return child.intersected(area).translated(-child.x, -child.y);
}

void clip(MainControls& controls, PixelSize window, const Scale& scale)
{
    const int border = scale.panelBorder();
    const PixelRect panelInside{border, border, controls.panel.width - 2 * border,
                                controls.panel.height - 2 * border};
    controls.graphShown = shownWithin(controls.graph, panelInside);
    controls.rateLabelShown = shownWithin(controls.rateLabel, scale.clientArea(window));
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

PixelSize initialWindowSize(int dpi)
{
    const Scale scale(dpi);
    const PixelMargins border = scale.sizingBorder();
    return {scale.px(kDesignClientWidth) + border.left + border.right,
            scale.px(kDesignClientHeight) + border.top + border.bottom};
}

MainControls initialMainControls(int dpi)
{
    const Scale scale(dpi);
    const auto px = [&scale](int64_t twips) { return scale.px(twips); };
    const PixelMargins border = scale.sizingBorder();
    const int panelBorder = scale.panelBorder();
    MainControls controls;
    controls.panel = {border.left, border.top, px(kDesignClientWidth), px(kDesignGraphPanelHeight)};
    controls.graph = {panelBorder, panelBorder + px(kGraphViewTop), px(kGraphViewWidth),
                      px(kDesignGraphViewHeight)};
    controls.rateLabel = {border.left, border.top + px(kDesignRateLabelTop),
                          px(kDesignRateLabelWidth), px(kRateLabelHeight)};
    controls.graphBuffer = {px(kDesignGraphBufferWidth), px(kDesignGraphBufferHeight)};
    controls.rateLabelFontPoints = kDesignRateLabelPoints;
    clip(controls, initialWindowSize(dpi), scale);
    return controls;
}

MainControls layOutMainControls(const MainControls& current, PixelSize window,
                                int16_t extraGraphHeight, int dpi)
{
    const Scale scale(dpi);
    const auto px = [&scale](int64_t twips) { return scale.px(twips); };
    const MainLayout layout =
        layoutForSize(scale.twips(window.width), scale.twips(window.height), extraGraphHeight);
    const PixelRect client = scale.clientArea(window);
    MainControls controls = current;

    // The panel is docked to the top, always as wide as the client area, and,
    // as every control, keeps clear of the sizing border.
    PixelRect& panel = controls.panel;
    panel.width = std::max(0, client.width);
    if (layout.graphPanelHeight) {
        panel.height = px(*layout.graphPanelHeight);
    }
    panel.height = std::max(0, std::min(panel.bottom(), client.bottom()) - panel.y + 1);

    controls.graph.x = scale.panelBorder() + px(layout.graphViewLeft);
    if (layout.graphViewHeight) {
        controls.graph.height = px(*layout.graphViewHeight);
    }
    if (layout.graphBufferHeight) {
        controls.graphBuffer.height = px(*layout.graphBufferHeight);
    }
    controls.rateLabel.y = client.y + px(layout.rateLabelTop);
    if (layout.rateLabelWidth) {
        controls.rateLabel.width = px(*layout.rateLabelWidth);
    }
    if (layout.rateLabelFontPoints) {
        controls.rateLabelFontPoints = *layout.rateLabelFontPoints;
    }
    clip(controls, window, scale);
    return controls;
}

}  // namespace kuvell
