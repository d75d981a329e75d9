// SPDX-License-Identifier: MIT
#pragma once
// Where the main window's controls go for a given outer window size. Everything
// is in twips; a value the layout leaves alone (a step that would set a negative
// size, a font size at a band edge) is absent.
#include <cstdint>
#include <optional>

namespace kuvell {

inline constexpr int32_t kGraphViewWidth = 4500;  // never changes at run time
inline constexpr int32_t kGraphViewTop = -15;
inline constexpr int32_t kRateLabelHeight = 255;

// Where the controls stand before the first layout, as the window was drawn;
// a step the layout skips (see MainLayout) leaves a control there.
inline constexpr int32_t kDesignGraphPanelHeight = 2040;
inline constexpr int32_t kDesignGraphViewHeight = 1980;
inline constexpr int32_t kDesignGraphBufferWidth = 4560;
inline constexpr int32_t kDesignGraphBufferHeight = 2040;
inline constexpr int32_t kDesignRateLabelTop = 2100;
inline constexpr int32_t kDesignRateLabelWidth = 5610;
inline constexpr double kDesignRateLabelPoints = 9.75;

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

}  // namespace kuvell
