// SPDX-License-Identifier: MIT
#include "frontends/qt/ColourSwatch.h"

#include <QMouseEvent>

namespace kuvell {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // Its own role: otherwise it would take over the page's and paint in that.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void ColourSwatch::setColour(const QColor& colour)
{
    QPalette swatchPalette = palette();
    swatchPalette.setColor(QPalette::Window, colour);
    setPalette(swatchPalette);
}

QColor ColourSwatch::colour() const { return palette().color(QPalette::Window); }

void ColourSwatch::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

}  // namespace kuvell
