// SPDX-License-Identifier: MIT
#include "monitor/core/MainLayout.h"

#include "settings/core/ProgramVariables.h"

namespace kuvell {

namespace {

constexpr int64_t kGraphRightMargin = 160;  // from the graph's right edge to the outer right edge

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

}  // namespace kuvell
