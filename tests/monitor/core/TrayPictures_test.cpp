// SPDX-License-Identifier: MIT
#include "monitor/core/TrayPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <set>
#include <utility>

namespace kuvell {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

int alphaOf(uint32_t pixel) { return static_cast<int>(pixel >> 24); }
int redOf(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
int greenOf(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
int blueOf(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

uint32_t pixelAt(const TrayPicture& picture, int x, int y)
{
    return picture.pixels[static_cast<std::size_t>(y) * picture.side + x];
}

PixelSet redPixels(const TrayPicture& picture)
{
    PixelSet red;
    for (int y = 0; y < picture.side; ++y) {
        for (int x = 0; x < picture.side; ++x) {
            const uint32_t colour = pixelAt(picture, x, y);
            if (alphaOf(colour) == 255 && redOf(colour) > 200 && greenOf(colour) < 60 &&
                blueOf(colour) < 60) {
                red.insert({x, y});
            }
        }
    }
    return red;
}

TEST(TrayPictures, ScreensLightUpForTheActiveDirections)
{
    const PixelSet none = redPixels(trayPicture(1));
    const PixelSet rear = redPixels(trayPicture(2));
    const PixelSet front = redPixels(trayPicture(3));
    const PixelSet both = redPixels(trayPicture(4));
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(rear.empty());
    EXPECT_FALSE(front.empty());
    PixelSet combined = rear;
    combined.insert(front.begin(), front.end());
    EXPECT_EQ(combined.size(), rear.size() + front.size());  // two different screens
    EXPECT_EQ(both, combined);
    for (int number = 1; number <= 4; ++number) {
        const TrayPicture picture = trayPicture(number);
        EXPECT_EQ(picture.side, 16);
        EXPECT_EQ(picture.pixels.size(), 16u * 16u);
    }
    // The front monitor covers part of the rear one, so its screen shows whole.
    EXPECT_GT(front.size(), rear.size());
    EXPECT_EQ(trayPicture(0).pixels, trayPicture(1).pixels);
    EXPECT_EQ(trayPicture(-7, 22).pixels, trayPicture(1, 22).pixels);
}

TEST(TrayPictures, EverySizeAskedForIsHeldToOneToTheLargestSide)
{
    EXPECT_EQ(trayPicture(1, 0).side, 1);
    EXPECT_EQ(trayPicture(1, -5).side, 1);
    EXPECT_EQ(trayPicture(1, 1).pixels.size(), 1u);
    EXPECT_EQ(trayPicture(2, kLargestTrayImageSide).side, kLargestTrayImageSide);
    const TrayPicture huge = trayPicture(4, 100000);
    EXPECT_EQ(huge.side, kLargestTrayImageSide);
    EXPECT_EQ(huge.pixels, trayPicture(4, kLargestTrayImageSide).pixels);
    // Tiny sides still draw something, within the picture.
    for (int side = 1; side <= 8; ++side) {
        const TrayPicture tiny = trayPicture(4, side);
        ASSERT_EQ(tiny.pixels.size(), static_cast<std::size_t>(side * side));
    }
}

int grayOf(uint32_t pixel)
{
    return (redOf(pixel) * 11 + greenOf(pixel) * 16 + blueOf(pixel) * 5) / 32;
}

uint32_t onPanel(uint32_t pixel, uint32_t panel)
{
    const int alpha = alphaOf(pixel);
    const auto mix = [alpha](int over, int under) {
        return static_cast<uint32_t>((over * alpha + under * (255 - alpha)) / 255);
    };
    return 0xFF000000u | mix(redOf(pixel), redOf(panel)) << 16 |
           mix(greenOf(pixel), greenOf(panel)) << 8 | mix(blueOf(pixel), blueOf(panel));
}

// A drawn pixel beside an empty one or the picture's edge.
bool onEdge(const TrayPicture& picture, int x, int y)
{
    const auto empty = [&picture](int atX, int atY) {
        return atX < 0 || atY < 0 || atX >= picture.side || atY >= picture.side ||
               alphaOf(pixelAt(picture, atX, atY)) == 0;
    };
    return !empty(x, y) &&
           (empty(x - 1, y) || empty(x + 1, y) || empty(x, y - 1) || empty(x, y + 1));
}

// The picture on a panel of that colour, with the pixels that stand out from it.
PixelSet standingOut(const TrayPicture& picture, uint32_t panel)
{
    PixelSet seen;
    for (int y = 0; y < picture.side; ++y) {
        for (int x = 0; x < picture.side; ++x) {
            if (std::abs(grayOf(onPanel(pixelAt(picture, x, y), panel)) - grayOf(panel)) >= 60) {
                seen.insert({x, y});
            }
        }
    }
    return seen;
}

TEST(TrayPictures, CrispAndReadableOnDarkAndLightPanelsAtEverySize)
{
    const uint32_t panels[] = {0xFF202020, 0xFF3C3F41, 0xFFF0F0F0, 0xFFFFFFFF};
    for (const int size : kTrayImageSizes) {
        for (int number = 1; number <= kTrayImageCount; ++number) {
            const TrayPicture picture = trayPicture(number, size);
            ASSERT_EQ(picture.side, size);
            ASSERT_EQ(picture.pixels.size(), static_cast<std::size_t>(size * size));
            const std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
            EXPECT_LE(colours.size(), 7u) << "blended edges at " << size;  // palette, rim, clear
            EXPECT_EQ(redPixels(picture).empty(), number == 1) << size;
            for (const uint32_t panel : panels) {
                // Every pixel on the edge of the drawn shape stands out itself or lies
                // beside one that does, so the outline shows whatever the panel's colour.
                const PixelSet seen = standingOut(picture, panel);
                const auto near = [&seen](int x, int y) {
                    return seen.count({x, y}) || seen.count({x - 1, y}) || seen.count({x + 1, y}) ||
                           seen.count({x, y - 1}) || seen.count({x, y + 1});
                };
                int lost = 0;
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < size; ++x) {
                        lost += onEdge(picture, x, y) && !near(x, y);
                    }
                }
                EXPECT_EQ(lost, 0)
                    << "image " << number << " at " << size << " px on panel " << std::hex << panel;
            }
        }
    }
}

}  // namespace
}  // namespace kuvell
