// SPDX-License-Identifier: MIT
#include "frontends/qt/TrayIcon.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <iterator>

#include "frontends/qt/TrayImages.h"

namespace kuvell {
namespace {

TEST(TrayImages, QtShowsTheCorePicturesPixelForPixel)
{
    // A sheet of every picture on dark and light panels, for a look at them as a panel shows them.
    const QRgb panels[] = {qRgb(0x20, 0x20, 0x20), qRgb(0x3c, 0x3f, 0x41), qRgb(0xf0, 0xf0, 0xf0),
                           qRgb(0xff, 0xff, 0xff)};
    QImage sheet(8 + 56 * 4, 8 + 56 * static_cast<int>(std::size(panels)), QImage::Format_RGB32);
    sheet.fill(Qt::gray);
    QPainter painter(&sheet);
    for (int number = 0; number <= kTrayImageCount + 1; ++number) {
        for (const int size : {1, 16, 22, 24, 32, 48, 300}) {
            const TrayPicture core = trayPicture(number, size);
            const QImage image = drawTrayImage(number, size);
            ASSERT_EQ(image.format(), QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), QSize(core.side, core.side));
            int differing = 0;
            for (int y = 0; y < core.side; ++y) {
                for (int x = 0; x < core.side; ++x) {
                    differing += image.pixel(x, y) != core.pixels[y * core.side + x];
                }
            }
            EXPECT_EQ(differing, 0) << "image " << number << " at " << size;
            const int column = number - 1;
            if ((size == 16 || size == 32) && column >= 0 && column < kTrayImageCount) {
                for (std::size_t row = 0; row < std::size(panels); ++row) {
                    const QPoint cell(8 + 56 * column, 8 + 56 * static_cast<int>(row));
                    painter.fillRect(QRect(cell, QSize(48, 48)), QColor(panels[row]));
                    painter.drawImage(cell + QPoint(size == 16 ? 0 : 16, size == 16 ? 0 : 16),
                                      image);
                }
            }
        }
    }
    painter.end();
    const QString folder = qEnvironmentVariable("KUVELL_BINARY_DIR");
    if (!folder.isEmpty()) {
        sheet.save(folder + QStringLiteral("/tray-icons-on-panels.png"));
    }
}

TEST(TrayIcon, ShowsWhatItIsGivenOnceItIsThere)
{
    TrayIcon tray;
    tray.modify(2, QStringLiteral("before add"));  // no icon yet: nothing to modify
    EXPECT_FALSE(tray.exists());
    EXPECT_EQ(tray.image(), 0);

    tray.add(4, QStringLiteral("Kuvell"));
    EXPECT_TRUE(tray.exists());
    EXPECT_EQ(tray.image(), 4);
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Kuvell"));
    tray.modify(std::nullopt, QStringLiteral("Kuvell - DL: 0 kb/s - UL: -4.9 kb/s"));
    EXPECT_EQ(tray.image(), 4);
    tray.modify(1, std::nullopt);
    EXPECT_EQ(tray.image(), 1);
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Kuvell - DL: 0 kb/s - UL: -4.9 kb/s"));
    tray.modify(7, std::nullopt);
    EXPECT_EQ(tray.image(), 1);  // not an image of the list
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
    tray.modify(2, QStringLiteral("late tick"));
    EXPECT_EQ(tray.image(), 4);
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Kuvell"));
    EXPECT_FALSE(tray.exists());
}

}  // namespace
}  // namespace kuvell
