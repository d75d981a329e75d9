#include "monitor/core/MainLayout.h"

#include "settings/core/ProgramVariables.h"

namespace kuvell {

namespace {

constexpr int64_t kGraphRightMargin = 160;  // from the graph's right edge to the outer right edge

std::optional<int64_t> NonNegative(int64_t size)
{
    if (size < 0) {
        return std::nullopt;
    }
    return size;
}

}  // namespace

MainLayout LayoutForSize(int32_t width, int32_t height, int16_t ExtraGraphHeight)
{
    const int64_t W = width;
    const int64_t H = height;
    const int64_t G = ExtraGraphHeight;
    // In graph-only mode the panel grows 280 twips, 15 more than the graph boxes.
    const int64_t panelExtra = G == kGraphOnlyExtraHeight ? G + 15 : 0;

    MainLayout layout;
    layout.picdisplayLeft = W - kpicdisplayWidth - kGraphRightMargin;
    layout.picdisplayHeight = NonNegative(H - 360 + G);
    layout.picbufferHeight = NonNegative(H - 360 + G);
    layout.Picture1Height = NonNegative(H - 390 + panelExtra);
    layout.Label8Top = H - 370 + G;
    layout.Label8Width = NonNegative(W - 135);
    layout.Label8FontPoints = Label8FontPoints(width);
    return layout;
}

std::optional<int> Label8FontPoints(int32_t width)
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
