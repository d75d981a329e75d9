// SPDX-License-Identifier: MIT
#pragma once
// The about page's banner, drawn in code so no image file has to ship with it:
// a diagonal gradient, so every row changes colour along its length, under a
// small traffic graph. Frontends write the two lines of text over it with
// their own fonts.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/PixelRect.h"

namespace kuvell {

// The banner's drawable area, which the sweep covers one row of one column at a time.
inline constexpr int kBannerDrawableWidth = 250;
inline constexpr int kBannerDrawableHeight = 127;

// kBannerDrawableWidth x kBannerDrawableHeight opaque 0xFFRRGGBB pixels, row after row.
std::vector<uint32_t> bannerBackdrop();

struct BannerText
{
    std::string_view text;
    PixelRect area;  // the text sits at its left, centred vertically
    int pixelHeight;
    bool bold;
    uint32_t colour;  // 0xFFRRGGBB
};

inline constexpr std::array<BannerText, 2> kBannerTexts = {{
    {"Kuvell", {12, 8, kBannerDrawableWidth - 24, 44}, 34, true, 0xFFFFFFFF},
    {"DL / UL kb/s", {14, 48, kBannerDrawableWidth - 28, 18}, 12, false, 0xFFBEDCE6},
}};

}  // namespace kuvell
