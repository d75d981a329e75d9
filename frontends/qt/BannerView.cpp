// SPDX-License-Identifier: MIT
#include "frontends/qt/BannerView.h"

#include <QPainter>
#include <algorithm>

#include "settings/core/BannerBackdrop.h"

namespace kuvell {

namespace {
constexpr int kBorderWidth = 2;  // the 3-D border around the drawable area
}

BannerView::BannerView(QWidget* parent)
    : QFrame(parent), canvas_(kBannerDrawableWidth, kBannerDrawableHeight, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    canvas_.fill(Qt::white);
}

void BannerView::drawRowFrom(int x, int y, QRgb colour)
{
    if (x < 0 || y < 0 || x >= canvas_.width() || y >= canvas_.height()) {
        return;
    }
    auto* row = reinterpret_cast<QRgb*>(canvas_.scanLine(y));
    std::fill(row + x, row + canvas_.width(), colour | 0xff000000u);
    const QRect area = contentsRect();
    update(area.x() + x, area.y() + y, canvas_.width() - x, 1);
}

void BannerView::setPicture(const QImage& picture)
{
    if (picture.isNull()) {
        canvas_.fill(Qt::white);
    } else {
        canvas_ = picture.scaled(kBannerDrawableWidth, kBannerDrawableHeight)
                      .convertToFormat(QImage::Format_RGB32);
    }
    update();
}

void BannerView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), canvas_);
}

}  // namespace kuvell
