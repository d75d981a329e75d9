// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QWidget>

#include "frontends/qt/GraphBoxes.h"
#include "monitor/core/GraphRaster.h"
#include "support/PixelCount.h"

namespace kuvell {
namespace {

using testsupport::countPixels;

TEST(GraphDisplay, ShowsTheCorePixelsWithoutACopy)
{
    QWidget parent;
    auto* display = new GraphDisplay(&parent);
    PixelImage pixels(300, 132, rgbFromBgr(kDesignBackground));
    display->place(QRect(0, 0, 300, 132), pixels);
    const QImage& image = display->image();
    ASSERT_EQ(image.size(), QSize(300, 132));
    EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(pixels.pixels()));
    EXPECT_EQ(image.bytesPerLine(), 300 * 4);
    EXPECT_EQ(countPixels(image, rgbFromBgr(kDesignBackground)), 300 * 132);

    // What the buffer paints into the core's image is what Qt shows, at once.
    GraphBuffer buffer(304, 132);
    buffer.setBackground(0x000000);
    RateHistories histories;
    histories.advance(100 * 1024, 0);
    const PixelRect changed = buffer.paintFrame(histories, 100, 0x0000FF, 0x00FF00, pixels);
    EXPECT_EQ(changed, (PixelRect{0, 0, 300, 132}));
    EXPECT_EQ(image.pixel(299, 127), qRgb(0xFF, 0, 0));
    EXPECT_EQ(countPixels(image, qRgb(0, 0, 0)), 300 * 132 - 128);
    display->showChanged(changed);
    parent.resize(300, 132);
    EXPECT_EQ(display->grab().toImage().convertToFormat(QImage::Format_RGB32), image);

    // Given pixels of another size, Qt sees the new ones.
    pixels.resize(200, 140, rgbFromBgr(kDesignBackground));
    display->place(QRect(0, 0, 200, 140), pixels);
    EXPECT_EQ(display->image().size(), QSize(200, 140));
    EXPECT_EQ(display->image().constBits(), reinterpret_cast<const uchar*>(pixels.pixels()));
    EXPECT_EQ(display->image().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(display->image().pixel(0, 135), rgbFromBgr(kDesignBackground));

    display->place(QRect(0, 0, 0, 0), PixelImage());
    EXPECT_TRUE(display->image().isNull());
}

}  // namespace
}  // namespace kuvell
