// SPDX-License-Identifier: MIT
#include "monitor/TrayIcon.h"

#include <QPixmap>

namespace kuvell {

namespace {

bool isImageNumber(int image) { return image >= 1 && image <= kTrayImageCount; }

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), icon_(this)
{
    for (int number = 1; number <= kTrayImageCount; ++number) {
        // Drawn at every size a panel may ask for, so none is scaled and blurred.
        QIcon& icon = trayImages_[static_cast<std::size_t>(number - 1)];
        for (const int size : kTrayImageSizes) {
            icon.addPixmap(QPixmap::fromImage(drawTrayImage(number, size)));
        }
    }
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

void TrayIcon::add(int image, const QString& toolTip)
{
    if (exists_) {
        return;
    }
    setImage(image);
    setToolTip(toolTip);
    // Without a notification area Qt keeps the icon hidden and Kuvell runs on.
    icon_.show();
    exists_ = true;
}

void TrayIcon::modify(std::optional<int> image, const QString& toolTip)
{
    if (!exists_) {
        return;
    }
    if (image) {
        setImage(*image);
    }
    setToolTip(toolTip);
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
    if (!isImageNumber(image) || image == image_) {
        return;
    }
    image_ = image;
    icon_.setIcon(trayImages_[static_cast<std::size_t>(image - 1)]);
    ++updatesPassedOn_;
}

void TrayIcon::setToolTip(const QString& toolTip)
{
    if (toolTip == toolTip_) {
        return;
    }
    toolTip_ = toolTip;
    icon_.setToolTip(toolTip);
    ++updatesPassedOn_;
}

}  // namespace kuvell
