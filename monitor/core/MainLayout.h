#pragma once
// Where the main window's controls go for a given outer window size. Everything
// is in twips; a value the layout leaves alone (a step that would set a negative
// size, a font size at a band edge) is absent.
#include <cstdint>
#include <optional>

namespace kuvell {

inline constexpr int32_t kpicdisplayWidth = 4500;  // never changes at run time
inline constexpr int32_t kpicdisplayTop = -15;
inline constexpr int32_t kLabel8Height = 255;

struct MainLayout
{
    int64_t picdisplayLeft = 0;  // inside Picture1's inner area; may be negative
    std::optional<int64_t> picdisplayHeight;
    std::optional<int64_t> picbufferHeight;
    std::optional<int64_t> Picture1Height;
    int64_t Label8Top = 0;  // may be negative, and is applied then
    std::optional<int64_t> Label8Width;
    std::optional<int> Label8FontPoints;
};

// width/height: the window's outer size; ExtraGraphHeight: 265 in graph-only mode.
MainLayout LayoutForSize(int32_t width, int32_t height, int16_t ExtraGraphHeight);

// 10 points above 2220 twips, 8 between 2000 and 2220, 6 below 2000; exactly
// 2000 or 2220 keeps whatever size the label had.
std::optional<int> Label8FontPoints(int32_t width);

}  // namespace kuvell
