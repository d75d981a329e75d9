// SPDX-License-Identifier: MIT
#include "monitor/WindowGrip.h"

#include <QWidget>
#include <QWindow>

#include "platform/core/WindowBounds.h"

namespace kuvell {

Qt::Edges sizingEdgesAt(QSize windowSize, QMargins border, QPoint pos)
{
    Qt::Edges edges;
    if (!QRect(QPoint(0, 0), windowSize).contains(pos)) {
        return edges;
    }
    edges.setFlag(Qt::LeftEdge, pos.x() < border.left());
    edges.setFlag(Qt::RightEdge, pos.x() >= windowSize.width() - border.right());
    edges.setFlag(Qt::TopEdge, pos.y() < border.top());
    edges.setFlag(Qt::BottomEdge, pos.y() >= windowSize.height() - border.bottom());
    // In a window narrower than its two borders a point is on both sides: the far one wins.
    if (edges.testFlag(Qt::LeftEdge) && edges.testFlag(Qt::RightEdge)) {
        edges.setFlag(Qt::LeftEdge, false);
    }
    if (edges.testFlag(Qt::TopEdge) && edges.testFlag(Qt::BottomEdge)) {
        edges.setFlag(Qt::TopEdge, false);
    }
    return edges;
}

Qt::CursorShape sizingCursor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool mainDiagonal =
            edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal) {
        return Qt::SizeHorCursor;
    }
    return vertical ? Qt::SizeVerCursor : Qt::ArrowCursor;
}

QRect resizedGeometry(QRect start, Qt::Edges edges, QPoint delta)
{
    int width = start.width();
    int height = start.height();
    if (edges.testFlag(Qt::LeftEdge)) {
        width -= delta.x();
    } else if (edges.testFlag(Qt::RightEdge)) {
        width += delta.x();
    }
    if (edges.testFlag(Qt::TopEdge)) {
        height -= delta.y();
    } else if (edges.testFlag(Qt::BottomEdge)) {
        height += delta.y();
    }
    const WindowSize bounded = clampWindowSize({width, height});
    QRect result(start.topLeft(), QSize(bounded.cx, bounded.cy));
    if (edges.testFlag(Qt::LeftEdge)) {
        result.moveRight(start.right());
    }
    if (edges.testFlag(Qt::TopEdge)) {
        result.moveBottom(start.bottom());
    }
    return result;
}

void WindowGrip::beginMove(QPoint globalPress)
{
    QWindow* handle = window_.windowHandle();
    following_ = handle == nullptr || !handle->startSystemMove();
    edges_ = {};
    pressGlobal_ = globalPress;
    startGeometry_ = window_.geometry();
}

void WindowGrip::beginResize(Qt::Edges edges, QPoint globalPress)
{
    if (edges == Qt::Edges()) {
        return;
    }
    QWindow* handle = window_.windowHandle();
    following_ = handle == nullptr || !handle->startSystemResize(edges);
    edges_ = edges;
    pressGlobal_ = globalPress;
    startGeometry_ = window_.geometry();
}

bool WindowGrip::follow(QPoint globalPos)
{
    if (!following_) {
        return false;
    }
    const QPoint delta = globalPos - pressGlobal_;
    if (edges_ == Qt::Edges()) {
        window_.move(startGeometry_.topLeft() + delta);
    } else {
        window_.setGeometry(resizedGeometry(startGeometry_, edges_, delta));
    }
    return true;
}

}  // namespace kuvell
