// SPDX-License-Identifier: MIT
#pragma once
// The values shared by the main window and the settings dialog. One instance is
// created in main and handed around by reference; the initial values are what a
// failed read leaves behind.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kuvell {

struct ProgramVariables
{
    int32_t downloadColour = 0;  // colours are 0x00BBGGRR
    int32_t uploadColour = 0;
    int32_t backgroundColour = 0;
    int32_t connectionSpeed = 0;
    int32_t downloadTotal = 0;  // bytes
    int32_t uploadTotal = 0;
    bool onTop = false;
    std::string installDate;       // UTF-8, shown unchanged
    int16_t extraGraphHeight = 0;  // twips: 265 in graph-only layout, else 0
};

inline constexpr int16_t kGraphOnlyExtraHeight = 265;

// The ten transparency levels ("10 %" .. "100 %"), alpha = 255 * (n + 1) / 10 rounded ties-to-even.
inline constexpr std::array<int16_t, 10> kTransparencyAlpha = {26,  51,  76,  102, 128,
                                                               153, 178, 204, 230, 255};

// Alpha for a stored level 0..9; nullopt for any other level (no transparency is applied).
std::optional<int16_t> transparencyAlpha(int32_t level);

}  // namespace kuvell
