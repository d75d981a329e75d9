#include "monitor/TrayIcon.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "monitor/TrayImages.h"

namespace kuvell {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet redPixels(const QImage& image)
{
    PixelSet red;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() == 255 && colour.red() > 200 && colour.green() < 60 &&
                colour.blue() < 60) {
                red.insert({x, y});
            }
        }
    }
    return red;
}

TEST(TrayImages, ScreensLightUpForTheActiveDirections)
{
    const PixelSet none = redPixels(drawTrayImage(1));
    const PixelSet rear = redPixels(drawTrayImage(2));
    const PixelSet front = redPixels(drawTrayImage(3));
    const PixelSet both = redPixels(drawTrayImage(4));
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(rear.empty());
    EXPECT_FALSE(front.empty());
    PixelSet combined = rear;
    combined.insert(front.begin(), front.end());
    EXPECT_EQ(combined.size(), rear.size() + front.size());  // two different screens
    EXPECT_EQ(both, combined);
    for (int number = 1; number <= 4; ++number) {
        EXPECT_EQ(drawTrayImage(number).size(), QSize(16, 16));
    }
    // The front monitor covers part of the rear one, so its screen shows whole.
    EXPECT_GT(front.size(), rear.size());
    EXPECT_EQ(drawTrayImage(0), drawTrayImage(1));
}

TEST(TrayIcon, PassesOnOnlyWhatChanged)
{
    TrayIcon tray;
    EXPECT_FALSE(tray.exists());
    tray.modify(2, QStringLiteral("before add"));  // no icon yet: nothing to modify
    EXPECT_EQ(tray.updatesPassedOn(), 0);

    tray.add(4, QStringLiteral("Kuvell"));
    EXPECT_TRUE(tray.exists());
    EXPECT_EQ(tray.image(), 4);
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Kuvell"));
    EXPECT_EQ(tray.updatesPassedOn(), 2);

    // The tick's modify call every second, with nothing new, reaches Qt not at all.
    for (int tick = 0; tick < 5; ++tick) {
        tray.modify(4, QStringLiteral("Kuvell"));
    }
    EXPECT_EQ(tray.updatesPassedOn(), 2);

    tray.modify(std::nullopt, QStringLiteral("Kuvell - DL: 0 kb/s - UL: -4.9 kb/s"));
    EXPECT_EQ(tray.image(), 4);  // a negative upload leaves the picture alone
    EXPECT_EQ(tray.updatesPassedOn(), 3);
    tray.modify(1, QStringLiteral("Kuvell - DL: 0 kb/s - UL: -4.9 kb/s"));
    EXPECT_EQ(tray.image(), 1);
    EXPECT_EQ(tray.updatesPassedOn(), 4);
    tray.modify(7, QStringLiteral("Kuvell - DL: 0 kb/s - UL: -4.9 kb/s"));
    EXPECT_EQ(tray.image(), 1);  // not an image of the list
    EXPECT_EQ(tray.updatesPassedOn(), 4);
}

TEST(TrayIcon, DeleteIsFinalAndMayBeRepeated)
{
    TrayIcon tray;
    tray.add(4, QStringLiteral("Kuvell"));
    tray.removeIcon();
    tray.removeIcon();
    EXPECT_FALSE(tray.exists());
    const int passed = tray.updatesPassedOn();
    tray.modify(2, QStringLiteral("late tick"));
    EXPECT_EQ(tray.updatesPassedOn(), passed);
    EXPECT_FALSE(tray.exists());
}

}  // namespace
}  // namespace kuvell
