// SPDX-License-Identifier: MIT
#include "monitor/TrayImages.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kuvell {

namespace {

// A 16-colour palette look: black outlines, silver cases, navy or red screens.
constexpr QRgb kOutline = 0xFF000000;
constexpr QRgb kCase = 0xFFC0C0C0;
constexpr QRgb kDarkScreen = 0xFF000080;
constexpr QRgb kLitScreen = 0xFFFF0000;
constexpr QRgb kStand = 0xFF808080;
constexpr QRgb kRim = 0xD0F0F0F0;  // shows the silhouette where the outline meets a dark panel

// The picture is designed on a 16-unit grid; every edge lands on a whole pixel
// of the size asked for, so no edge is blurred. From 22 px on, a one-pixel
// margin leaves room for the rim all round.
class Grid
{
  public:
    explicit Grid(int size) : margin_(size >= 22 ? 1 : 0), scale_((size - 2 * margin_) / 16.0) {}

    QRect rect(int left, int top, int width, int height) const
    {
        const int x0 = edge(left);
        const int y0 = edge(top);
        return QRect(x0, y0, std::max(1, edge(left + width) - x0),
                     std::max(1, edge(top + height) - y0));
    }

  private:
    int edge(int units) const { return margin_ + static_cast<int>(std::nearbyint(units * scale_)); }
    int margin_;
    double scale_;
};

// A monitor whose case has its top-left corner at `originX`, `originY` (grid
// units): an 11x9 case with a 9x7 screen, and a small stand below it.
void drawMonitor(QPainter& painter, const Grid& grid, int originX, int originY, bool lit)
{
    painter.fillRect(grid.rect(originX, originY, 11, 9), QColor(kOutline));
    painter.fillRect(grid.rect(originX + 1, originY + 1, 9, 7), QColor(kCase));
    painter.fillRect(grid.rect(originX + 2, originY + 2, 7, 5),
                     QColor(lit ? kLitScreen : kDarkScreen));
    painter.fillRect(grid.rect(originX + 4, originY + 9, 3, 1), QColor(kStand));
    painter.fillRect(grid.rect(originX + 2, originY + 10, 7, 1), QColor(kOutline));
}

// Every empty pixel beside (not diagonal to) the drawing gets the light rim.
void addRim(QImage& image)
{
    const QImage drawn = image.copy();
    const auto opaque = [&drawn](int x, int y) {
        return drawn.rect().contains(x, y) && qAlpha(drawn.pixel(x, y)) != 0;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!opaque(x, y) &&
                (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1))) {
                image.setPixel(x, y, kRim);
            }
        }
    }
}

}  // namespace

QImage drawTrayImage(int number, int size)
{
    const bool rearLit = number == 2 || number == 4;
    const bool frontLit = number == 3 || number == 4;
    const int side = std::max(1, size);
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        const Grid grid(side);
        drawMonitor(painter, grid, 0, 0, rearLit);
        drawMonitor(painter, grid, 5, 5, frontLit);  // in front, covering the rear one's corner
    }
    if (qAlpha(image.pixel(0, 0)) != 0) {
        // Without a margin the rear outline's outer corner has no rim to show it on
        // a dark panel; a rounded corner reads the same on any.
        image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    }
    addRim(image);
    return image;
}

}  // namespace kuvell
