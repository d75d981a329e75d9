// SPDX-License-Identifier: MIT
#include "settings/core/BannerBackdrop.h"

#include <gtest/gtest.h>

#include <set>

namespace kuvell {
namespace {

// The sweep reveals the banner row by row: a row in one colour would show nothing.
TEST(BannerBackdrop, EveryRowChangesAlongItsLengthAndTheGraphHasBothColours)
{
    const std::vector<uint32_t> pixels = bannerBackdrop();
    ASSERT_EQ(pixels.size(), std::size_t{kBannerDrawableWidth} * kBannerDrawableHeight);
    std::set<uint32_t> colours;
    for (int y = 0; y < kBannerDrawableHeight; ++y) {
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * kBannerDrawableWidth;
        const std::set<uint32_t> inRow(row, row + kBannerDrawableWidth);
        EXPECT_GT(inRow.size(), 1u) << "row " << y;
        colours.insert(inRow.begin(), inRow.end());
    }
    for (const uint32_t pixel : colours) EXPECT_EQ(pixel >> 24, 0xFFu);  // opaque
    EXPECT_EQ(pixels.front(), 0xFF10243Cu);                              // the gradient's two ends
    EXPECT_EQ(pixels.back(), 0xFF1B5E6Eu);
    EXPECT_TRUE(colours.count(0xFFE63C32u));  // download bars
    EXPECT_TRUE(colours.count(0xFF46C85Au));  // upload bars
}

}  // namespace
}  // namespace kuvell
