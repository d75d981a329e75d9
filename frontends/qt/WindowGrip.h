// SPDX-License-Identifier: MIT
#pragma once
// Moving and resizing the frameless main window. The window manager does it
// where it can (startSystemMove/startSystemResize); elsewhere the window
// follows the mouse while the button stays down. The arithmetic is the core's
// (monitor/core/WindowGeometry.h); this is its Qt side.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <Qt>

#include "monitor/core/WindowGeometry.h"

class QWidget;

namespace kuvell {

Qt::Edges toQtEdges(WindowEdges edges);

// sizingEdgesAt of the core, in Qt's types.
Qt::Edges sizingEdgesAt(QSize windowSize, QMargins border, QPoint pos);

// The pointer shape that tells which edges a press there would drag.
Qt::CursorShape sizingCursor(Qt::Edges edges);

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
    WindowEdges edges_;  // none: a move
    QPoint pressGlobal_;
    QRect startGeometry_;
};

}  // namespace kuvell
