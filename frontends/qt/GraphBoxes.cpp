// SPDX-License-Identifier: MIT
#include "frontends/qt/GraphBoxes.h"

#include <QPaintEvent>
#include <QPainter>

namespace kuvell {

GraphDisplay::GraphDisplay(QWidget* parent) : QWidget(parent)
{
    // The image covers every pixel, so Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphDisplay::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

void GraphDisplay::place(QRect geometry)
{
    setGeometry(geometry);
    if (pixels_.size() != PixelSize{width(), height()}) {
        pixels_.resize(width(), height(), rgbFromBgr(kDesignBackground));
        // A read-only view: Qt never writes into the core's pixels, and sees
        // every frame the buffer paints there.
        image_ = QImage(reinterpret_cast<const uchar*>(pixels_.pixels()), pixels_.width(),
                        pixels_.height(), pixels_.width() * static_cast<int>(sizeof(uint32_t)),
                        QImage::Format_RGB32);
    }
}

void GraphDisplay::showChanged(const PixelRect& changed)
{
    if (!changed.empty()) {
        update(QRect(changed.x, changed.y, changed.width, changed.height));
    }
}

}  // namespace kuvell
