// SPDX-License-Identifier: MIT
#include "frontends/qt/TrayIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace kuvell {

namespace {

bool isImageNumber(int image) { return image >= 1 && image <= kTrayImageCount; }

// A larger request than the core draws is drawn at its largest and scaled.
int drawnSide(int wanted) { return std::clamp(wanted, 1, kLargestTrayImageSide); }

int drawnSide(const QSize& size) { return drawnSide(std::min(size.width(), size.height())); }

// Draws a tray picture when a panel asks for it, at exactly the size it asks
// for, so none is scaled and blurred. Nothing is kept between requests: the
// picture changes rarely, and pixmaps held for every size of every picture
// would stay in memory all day.
class TrayPictureEngine : public QIconEngine
{
  public:
    explicit TrayPictureEngine(int number) : number_(number) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const QPaintDevice* device = painter->device();
        const qreal ratio = device != nullptr ? device->devicePixelRatio() : 1.0;
        const int length = std::min(rect.width(), rect.height());
        const QRect square(0, 0, length, length);
        const int side = drawnSide(static_cast<int>(std::nearbyint(length * ratio)));
        painter->drawImage(square.translated(rect.center() - square.center()),
                           drawTrayImage(number_, side));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QPixmap::fromImage(drawTrayImage(number_, drawnSide(size)));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QSize(drawnSide(size), drawnSide(size));
    }

    // What a StatusNotifierItem host is sent.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : kTrayImageSizes) {
            sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new TrayPictureEngine(number_); }

  private:
    int number_;
};

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), icon_(this)
{
    for (int number = 1; number <= kTrayImageCount; ++number) {
        trayImages_[static_cast<std::size_t>(number - 1)] = QIcon(new TrayPictureEngine(number));
    }
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

void TrayIcon::add(int image, const QString& toolTip)
{
    if (exists_) {
        return;
    }
    setImage(image);
    toolTip_ = toolTip;
    icon_.setToolTip(toolTip);
    // Without a notification area Qt keeps the icon hidden and Kuvell runs on.
    icon_.show();
    exists_ = true;
}

void TrayIcon::modify(std::optional<int> image, const std::optional<QString>& toolTip)
{
    if (!exists_) {
        return;
    }
    if (image) {
        setImage(*image);
    }
    if (toolTip) {
        toolTip_ = *toolTip;
        icon_.setToolTip(*toolTip);
    }
}

void TrayIcon::removeIcon()
{
    if (!exists_) {
        return;
    }
    icon_.hide();
    exists_ = false;
}

void TrayIcon::setImage(int image)
{
    if (!isImageNumber(image)) {
        return;
    }
    image_ = image;
    icon_.setIcon(trayImages_[static_cast<std::size_t>(image - 1)]);
}

}  // namespace kuvell
