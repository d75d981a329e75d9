// SPDX-License-Identifier: MIT
#include "monitor/TrayIcon.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cstdlib>
#include <iterator>
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

QRgb onPanel(QRgb pixel, QRgb panel)
{
    const int alpha = qAlpha(pixel);
    const auto mix = [alpha](int over, int under) {
        return (over * alpha + under * (255 - alpha)) / 255;
    };
    return qRgb(mix(qRed(pixel), qRed(panel)), mix(qGreen(pixel), qGreen(panel)),
                mix(qBlue(pixel), qBlue(panel)));
}

// A drawn pixel beside an empty one or the picture's edge.
bool onEdge(const QImage& image, int x, int y)
{
    const auto empty = [&image](int atX, int atY) {
        return !image.rect().contains(atX, atY) || qAlpha(image.pixel(atX, atY)) == 0;
    };
    return !empty(x, y) &&
           (empty(x - 1, y) || empty(x + 1, y) || empty(x, y - 1) || empty(x, y + 1));
}

// The picture on a panel of that colour, with the pixels that stand out from it.
PixelSet standingOut(const QImage& image, QRgb panel)
{
    PixelSet seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (std::abs(qGray(onPanel(image.pixel(x, y), panel)) - qGray(panel)) >= 60) {
                seen.insert({x, y});
            }
        }
    }
    return seen;
}

TEST(TrayImages, CrispAndReadableOnDarkAndLightPanelsAtEverySize)
{
    const QRgb panels[] = {qRgb(0x20, 0x20, 0x20), qRgb(0x3c, 0x3f, 0x41), qRgb(0xf0, 0xf0, 0xf0),
                           qRgb(0xff, 0xff, 0xff)};
    QImage sheet(8 + 56 * 4, 8 + 56 * static_cast<int>(std::size(panels)), QImage::Format_RGB32);
    sheet.fill(Qt::gray);
    for (std::size_t row = 0; row < std::size(panels); ++row) {
        for (int number = 1; number <= kTrayImageCount; ++number) {
            QPainter(&sheet).fillRect(8 + 56 * (number - 1), 8 + 56 * static_cast<int>(row), 48, 48,
                                      QColor(panels[row]));
        }
    }
    for (const int size : kTrayImageSizes) {
        for (int number = 1; number <= kTrayImageCount; ++number) {
            const QImage image = drawTrayImage(number, size);
            ASSERT_EQ(image.size(), QSize(size, size));
            std::set<QRgb> colours;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    colours.insert(image.pixel(x, y));
                }
            }
            EXPECT_LE(colours.size(), 7u) << "blended edges at " << size;  // palette, rim, clear
            EXPECT_EQ(redPixels(image).empty(), number == 1) << size;
            for (std::size_t row = 0; row < std::size(panels); ++row) {
                // Every pixel on the edge of the drawn shape stands out itself or lies
                // beside one that does, so the outline shows whatever the panel's colour.
                const PixelSet seen = standingOut(image, panels[row]);
                const auto near = [&seen](int x, int y) {
                    return seen.count({x, y}) || seen.count({x - 1, y}) || seen.count({x + 1, y}) ||
                           seen.count({x, y - 1}) || seen.count({x, y + 1});
                };
                int lost = 0;
                for (int y = 0; y < size; ++y) {
                    for (int x = 0; x < size; ++x) {
                        lost += onEdge(image, x, y) && !near(x, y);
                    }
                }
                EXPECT_EQ(lost, 0) << "image " << number << " at " << size << " px on panel "
                                   << std::hex << panels[row];
                if (size == 16 || size == 32) {
                    QPainter painter(&sheet);
                    const QPoint cell(8 + 56 * (number - 1), 8 + 56 * static_cast<int>(row));
                    painter.drawImage(cell + QPoint(size == 16 ? 0 : 16, size == 16 ? 0 : 16),
                                      image);
                }
            }
        }
    }
    // For a look at the pictures as a panel shows them.
    const QString folder = qEnvironmentVariable("KUVELL_BINARY_DIR");
    if (!folder.isEmpty()) {
        sheet.save(folder + QStringLiteral("/tray-icons-on-panels.png"));
    }
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

// Pixels compared as a panel receives them, whatever format Qt kept them in.
QImage premultiplied(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(TrayIcon, ThePictureIsDrawnAtTheSizeAPanelAsksFor)
{
    TrayIcon tray;
    tray.add(3, QStringLiteral("Kuvell"));
    const QIcon icon = tray.picture();
    // Listed sizes and others alike come out drawn for that size, not scaled.
    for (const int size : {16, 20, 48}) {
        EXPECT_EQ(premultiplied(icon.pixmap(QSize(size, size)).toImage()),
                  premultiplied(drawTrayImage(3, size)))
            << size;
    }
    // No request, however large, draws more than a few hundred pixels a side.
    EXPECT_EQ(icon.pixmap(QSize(100000, 100000)).size(), QSize(256, 256));
    // An XEmbed tray paints the icon into its own rectangle: the picture sits in the middle.
    QImage tray30x24(30, 24, QImage::Format_ARGB32_Premultiplied);
    tray30x24.fill(Qt::transparent);
    {
        QPainter painter(&tray30x24);
        icon.paint(&painter, tray30x24.rect());
    }
    EXPECT_EQ(tray30x24.copy(3, 0, 24, 24), premultiplied(drawTrayImage(3, 24)));

    tray.modify(1, QStringLiteral("Kuvell"));
    EXPECT_EQ(premultiplied(tray.picture().pixmap(QSize(16, 16)).toImage()),
              premultiplied(drawTrayImage(1, 16)));
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
