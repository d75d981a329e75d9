// SPDX-License-Identifier: MIT
#pragma once
// Where the main window's controls go for a given outer window size. Everything
// is in twips; a value the layout leaves alone (a step that would set a negative
// size, a font size at a band edge) is absent.
#include <cstdint>
#include <optional>

#include "monitor/core/Pixels.h"
#include "platform/core/Twips.h"

namespace kuvell {

inline constexpr int32_t kGraphViewWidth = 4500;  // never changes at run time
inline constexpr int32_t kGraphViewTop = -15;
inline constexpr int32_t kRateLabelHeight = 255;

struct MainLayout
{
    int64_t graphViewLeft = 0;  // inside graphPanel_'s inner area; may be negative
    std::optional<int64_t> graphViewHeight;
    std::optional<int64_t> graphBufferHeight;
    std::optional<int64_t> graphPanelHeight;
    int64_t rateLabelTop = 0;  // may be negative, and is applied then
    std::optional<int64_t> rateLabelWidth;
    std::optional<int> rateLabelFontPoints;
};

// width/height: the window's outer size; extraGraphHeight: 265 in graph-only mode.
MainLayout layoutForSize(int32_t width, int32_t height, int16_t extraGraphHeight);

// 10 points above 2220 twips, 8 between 2000 and 2220, 6 below 2000; exactly
// 2000 or 2220 keeps whatever size the label had.
std::optional<int> rateLabelFontPoints(int32_t width);

// The controls in pixels, where a frontend puts its widgets as they are.
struct MainControls
{
    PixelRect panel;  // the graph's sunken panel, in window coordinates
    PixelRect graph;  // in the panel's coordinates
    PixelRect rateLabel;
    PixelSize graphBuffer;  // the hidden buffer's outer size
    double rateLabelFontPoints = 0;
    // The parts shown, in each control's own coordinates, as in a container that
    // clips its children: the graph to the panel's inside, within its sunken
    // border, the line to the area inside the sizing border. Empty: hidden.
    PixelRect graphShown;
    PixelRect rateLabelShown;
};

// A thin frame around the client area that only resizes the window, and the
// graph panel's sunken border: at 96 dpi, scaled as every other pixel size.
inline constexpr PixelMargins kSizingBorder{3, 4, 3, 4};
inline constexpr int kPanelBorder = 2;

// Every function below lays out at a display scale, dpi (see Twips.h): twips
// convert at 1440 / dpi to a pixel, the borders grow with it.

// The window's outer size and its controls before start-up lays them out.
PixelSize initialWindowSize(int dpi = kBaseDpi);
MainControls initialMainControls(int dpi = kBaseDpi);

// Where a resize to `window` (outer pixels) moves the controls; what the
// layout leaves alone keeps its value from `current`, which must have been
// laid out at the same dpi.
MainControls layOutMainControls(const MainControls& current, PixelSize window,
                                int16_t extraGraphHeight, int dpi = kBaseDpi);

}  // namespace kuvell
