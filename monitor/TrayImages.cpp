#include "monitor/TrayImages.h"

#include <QPainter>

namespace kuvell {

namespace {

// A 16-colour palette look: black outlines, silver cases, navy or red screens.
constexpr QRgb kOutline = 0xFF000000;
constexpr QRgb kCase = 0xFFC0C0C0;
constexpr QRgb kDarkScreen = 0xFF000080;
constexpr QRgb kLitScreen = 0xFFFF0000;
constexpr QRgb kStand = 0xFF808080;

// A monitor whose case has its top-left corner at `origin`: an 11x9 case with a
// 9x7 screen, and a small stand below it.
void drawMonitor(QPainter& painter, QPoint origin, bool lit)
{
    const QRect outline(origin, QSize(11, 9));
    painter.fillRect(outline, QColor(kOutline));
    painter.fillRect(outline.adjusted(1, 1, -1, -1), QColor(kCase));
    painter.fillRect(outline.adjusted(2, 2, -2, -2), QColor(lit ? kLitScreen : kDarkScreen));
    painter.fillRect(QRect(origin + QPoint(4, 9), QSize(3, 1)), QColor(kStand));
    painter.fillRect(QRect(origin + QPoint(2, 10), QSize(7, 1)), QColor(kOutline));
}

}  // namespace

QImage drawTrayImage(int number)
{
    const bool rearLit = number == 2 || number == 4;
    const bool frontLit = number == 3 || number == 4;
    QImage image(kTrayImageSize, kTrayImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawMonitor(painter, QPoint(0, 0), rearLit);
    drawMonitor(painter, QPoint(5, 5), frontLit);  // in front, covering the rear one's corner
    return image;
}

}  // namespace kuvell
