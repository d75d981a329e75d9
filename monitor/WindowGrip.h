// SPDX-License-Identifier: MIT
#pragma once
// Moving and resizing the frameless main window. The window manager does it
// where it can (startSystemMove/startSystemResize); elsewhere the window
// follows the mouse while the button stays down.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <Qt>

class QWidget;

namespace kuvell {

// Which edges of the sizing border `pos` (window coordinates) lies on; none
// inside the client area or outside the window.
Qt::Edges sizingEdgesAt(QSize windowSize, QMargins border, QPoint pos);

// The pointer shape that tells which edges a press there would drag.
Qt::CursorShape sizingCursor(Qt::Edges edges);

// The outer rectangle after dragging `edges` by `delta`, within the window's
// size bounds; the opposite edges stay where they were.
QRect resizedGeometry(QRect start, Qt::Edges edges, QPoint delta);

class WindowGrip
{
  public:
    explicit WindowGrip(QWidget& window) : window_(window) {}

    void beginMove(QPoint globalPress);
    void beginResize(Qt::Edges edges, QPoint globalPress);
    // Mouse moved with the button down: true while a fallback move or resize runs.
    bool follow(QPoint globalPos);
    void end() { following_ = false; }

  private:
    QWidget& window_;
    bool following_ = false;
    Qt::Edges edges_;  // empty: a move
    QPoint pressGlobal_;
    QRect startGeometry_;
};

}  // namespace kuvell
