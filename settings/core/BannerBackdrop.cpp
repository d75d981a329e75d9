// SPDX-License-Identifier: MIT
#include "settings/core/BannerBackdrop.h"

#include <cmath>

namespace kuvell {

namespace {

constexpr uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

uint32_t channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFFu; }

uint32_t mix(uint32_t from, uint32_t to, double share)
{
    const auto one = [&](int shift) {
        const double a = channel(from, shift);
        const double b = channel(to, shift);
        return static_cast<uint32_t>(std::nearbyint(a + (b - a) * share));
    };
    return rgb(one(16), one(8), one(0));
}

// Bar heights of the little graph: two waves, so the picture is never flat.
int barHeight(int bar, double phase, int maxHeight)
{
    const double wave = 0.55 + 0.45 * std::sin(bar * 0.45 + phase) * std::cos(bar * 0.13);
    return static_cast<int>(std::nearbyint(wave * maxHeight));
}

void fill(std::vector<uint32_t>& pixels, const PixelRect& rect, uint32_t colour)
{
    for (int y = std::max(rect.y, 0); y <= std::min(rect.bottom(), kBannerDrawableHeight - 1);
         ++y) {
        for (int x = std::max(rect.x, 0); x <= std::min(rect.right(), kBannerDrawableWidth - 1);
             ++x) {
            pixels[static_cast<std::size_t>(y) * kBannerDrawableWidth + x] = colour;
        }
    }
}

}  // namespace

std::vector<uint32_t> bannerBackdrop()
{
    constexpr int width = kBannerDrawableWidth;
    constexpr int height = kBannerDrawableHeight;
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
    // From the top-left corner to the bottom-right one, measured at pixel centres.
    constexpr double length =
        static_cast<double>(width) * width + static_cast<double>(height) * height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double along = ((x + 0.5) * width + (y + 0.5) * height) / length;
            pixels[static_cast<std::size_t>(y) * width + x] =
                mix(rgb(16, 36, 60), rgb(27, 94, 110), along);
        }
    }
    constexpr PixelRect graph{10, 70, width - 20, 48};
    constexpr int barStep = 4;
    for (int bar = 0; bar < graph.width / barStep; ++bar) {
        const int x = graph.x + bar * barStep;
        const int download = barHeight(bar, 0.0, graph.height);
        const int upload = barHeight(bar, 2.1, graph.height / 2);
        fill(pixels, {x, graph.bottom() - download + 1, barStep - 1, download}, rgb(230, 60, 50));
        fill(pixels, {x, graph.bottom() - upload + 1, barStep - 1, upload}, rgb(70, 200, 90));
    }
    return pixels;
}

}  // namespace kuvell
