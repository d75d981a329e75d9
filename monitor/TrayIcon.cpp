#include "monitor/TrayIcon.h"

#include <QPixmap>

namespace kuvell {

namespace {

bool IsImageNumber(int image) { return image >= 1 && image <= kTrayImageCount; }

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), icon_(this)
{
    for (int number = 1; number <= kTrayImageCount; ++number) {
        ImageList1[static_cast<std::size_t>(number - 1)] =
            QIcon(QPixmap::fromImage(DrawTrayImage(number)));
    }
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

void TrayIcon::Add(int image, const QString& toolTip)
{
    if (exists_) {
        return;
    }
    SetImage(image);
    SetToolTip(toolTip);
    // Without a notification area Qt keeps the icon hidden and Kuvell runs on.
    icon_.show();
    exists_ = true;
}

void TrayIcon::Modify(std::optional<int> image, const QString& toolTip)
{
    if (!exists_) {
        return;
    }
    if (image) {
        SetImage(*image);
    }
    SetToolTip(toolTip);
}

void TrayIcon::Delete()
{
    if (!exists_) {
        return;
    }
    icon_.hide();
    exists_ = false;
}

void TrayIcon::SetImage(int image)
{
    if (!IsImageNumber(image) || image == image_) {
        return;
    }
    image_ = image;
    icon_.setIcon(ImageList1[static_cast<std::size_t>(image - 1)]);
    ++updatesPassedOn_;
}

void TrayIcon::SetToolTip(const QString& toolTip)
{
    if (toolTip == toolTip_) {
        return;
    }
    toolTip_ = toolTip;
    icon_.setToolTip(toolTip);
    ++updatesPassedOn_;
}

}  // namespace kuvell
