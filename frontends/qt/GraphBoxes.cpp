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

void GraphDisplay::place(QRect geometry, const PixelImage& pixels)
{
    setGeometry(geometry);
    const auto* bits = reinterpret_cast<const uchar*>(pixels.pixels());
    if (image_.constBits() != bits || image_.size() != QSize(pixels.width(), pixels.height())) {
        // A read-only view: Qt never writes into the core's pixels, and sees
        // every frame the presenter paints there.
        image_ = QImage(bits, pixels.width(), pixels.height(),
                        pixels.width() * static_cast<int>(sizeof(uint32_t)), QImage::Format_RGB32);
    }
}

void GraphDisplay::showChanged(const PixelRect& changed)
{
    if (!changed.empty()) {
        update(QRect(changed.x, changed.y, changed.width, changed.height));
    }
}

}  // namespace kuvell
