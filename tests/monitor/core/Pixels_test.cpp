// SPDX-License-Identifier: MIT
#include "monitor/core/Pixels.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

TEST(Pixels, StoredColoursBecomeOpaquePixelsInTheSharedLayout)
{
    EXPECT_EQ(rgbFromBgr(0x00BEAA49), 0xFF49AABEu);  // red in the stored low byte
    EXPECT_EQ(rgbFromBgr(0x000000FF), 0xFFFF0000u);
    // The stored high byte carries nothing, a negative value included.
    EXPECT_EQ(rgbFromBgr(static_cast<int32_t>(0x80FF0000u)), 0xFF0000FFu);
    EXPECT_EQ(rgbFromBgr(-1), 0xFFFFFFFFu);

    // And back, for a colour picked: red goes to the low byte, alpha nowhere.
    EXPECT_EQ(bgrFromRgb(0xFF563412u), 0x123456);
    EXPECT_EQ(bgrFromRgb(0xFFFFFFFFu), 0xFFFFFF);
    EXPECT_EQ(bgrFromRgb(0x0A0000FFu), 0xFF0000);
    for (const int32_t bgr : {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080, 0xC0FFEE}) {
        EXPECT_EQ(bgrFromRgb(rgbFromBgr(bgr)), bgr);
    }
}

TEST(Pixels, AnImageIsRowsOfWidthPixelsAndResizingKeepsWhatBothSizesShare)
{
    PixelImage image(3, 2, 0xFF000001);
    image.setPixel(2, 1, 0xFF000002);
    image.setPixel(3, 0, 0xFF000003);   // outside: nothing
    image.setPixel(-1, 0, 0xFF000003);  // outside: nothing
    ASSERT_NE(image.pixels(), nullptr);
    EXPECT_EQ(image.pixels()[1 * 3 + 2], 0xFF000002u);  // stride = width
    EXPECT_EQ(image.row(1), image.pixels() + 3);
    EXPECT_EQ(image.pixel(3, 0), 0u);

    image.resize(4, 3, 0xFF0000FF);
    EXPECT_EQ(image.pixel(2, 1), 0xFF000002u);  // kept where it was
    EXPECT_EQ(image.pixel(0, 0), 0xFF000001u);
    EXPECT_EQ(image.pixel(3, 0), 0xFF0000FFu);  // new column
    EXPECT_EQ(image.pixel(0, 2), 0xFF0000FFu);  // new row
    image.resize(2, 2, 0);
    EXPECT_EQ(image.pixel(1, 1), 0xFF000001u);
    EXPECT_EQ(image.rect(), (PixelRect{0, 0, 2, 2}));

    image.resize(-4, 5, 0);  // a negative size is no size
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.pixels(), nullptr);
    EXPECT_EQ(PixelImage(-1, -1, 0).size(), (PixelSize{0, 0}));
}

TEST(Pixels, EveryWriteGivesANewContentKeyAndACopyKeepsIt)
{
    PixelImage image(4, 4, 0);
    const uint64_t first = image.contentKey();
    const PixelImage copy = image;
    EXPECT_EQ(copy.contentKey(), first);  // the same pixels
    EXPECT_EQ(copy, image);
    EXPECT_NE(PixelImage(4, 4, 0).contentKey(), first);

    uint64_t last = first;
    const auto changedKey = [&] {
        const bool changed = image.contentKey() != last;
        last = image.contentKey();
        return changed;
    };
    image.setPixel(1, 1, 5);
    EXPECT_TRUE(changedKey());
    image.editRow(2)[0] = 6;
    EXPECT_TRUE(changedKey());
    image.fill(7);
    EXPECT_TRUE(changedKey());
    image.resize(4, 4, 0);
    EXPECT_TRUE(changedKey());
    static_cast<void>(image.pixel(0, 0));  // reading changes nothing
    EXPECT_FALSE(changedKey());
    EXPECT_NE(copy, image);
}

TEST(Pixels, RectanglesUniteAndContain)
{
    const PixelRect a{2, 3, 4, 1};
    const PixelRect b{10, 0, 1, 2};
    EXPECT_EQ(a.united(b), (PixelRect{2, 0, 9, 4}));
    EXPECT_EQ(a.united(PixelRect{}), a);
    EXPECT_EQ(PixelRect{}.united(b), b);
    EXPECT_TRUE(a.united(b).contains(a));
    EXPECT_TRUE(a.contains(5, 3));
    EXPECT_FALSE(a.contains(6, 3));
    EXPECT_FALSE(a.contains(PixelRect{}));  // nothing to hold
    EXPECT_TRUE((PixelRect{0, 0, 0, 5}).empty());
}

}  // namespace
}  // namespace kuvell
