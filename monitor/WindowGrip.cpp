// SPDX-License-Identifier: MIT
#include "monitor/WindowGrip.h"

#include <QWidget>
#include <QWindow>

namespace kuvell {

namespace {

WindowEdges fromQtEdges(Qt::Edges edges)
{
    return WindowEdges()
        .with(WindowEdge::Top, edges.testFlag(Qt::TopEdge))
        .with(WindowEdge::Left, edges.testFlag(Qt::LeftEdge))
        .with(WindowEdge::Right, edges.testFlag(Qt::RightEdge))
        .with(WindowEdge::Bottom, edges.testFlag(Qt::BottomEdge));
}

}  // namespace

Qt::Edges toQtEdges(WindowEdges edges)
{
    Qt::Edges result;
    result.setFlag(Qt::TopEdge, edges.has(WindowEdge::Top));
    result.setFlag(Qt::LeftEdge, edges.has(WindowEdge::Left));
    result.setFlag(Qt::RightEdge, edges.has(WindowEdge::Right));
    result.setFlag(Qt::BottomEdge, edges.has(WindowEdge::Bottom));
    return result;
}

Qt::Edges sizingEdgesAt(QSize windowSize, QMargins border, QPoint pos)
{
    return toQtEdges(sizingEdgesAt(PixelSize{windowSize.width(), windowSize.height()},
                                   {border.left(), border.top(), border.right(), border.bottom()},
                                   {pos.x(), pos.y()}));
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
    edges_ = fromQtEdges(edges);
    pressGlobal_ = globalPress;
    startGeometry_ = window_.geometry();
}

bool WindowGrip::follow(QPoint globalPos)
{
    if (!following_) {
        return false;
    }
    const QPoint delta = globalPos - pressGlobal_;
    if (edges_.none()) {
        window_.move(startGeometry_.topLeft() + delta);
    } else {
        const PixelRect resized = resizedGeometry({startGeometry_.x(), startGeometry_.y(),
                                                   startGeometry_.width(), startGeometry_.height()},
                                                  edges_, {delta.x(), delta.y()});
        window_.setGeometry(resized.x, resized.y, resized.width, resized.height);
    }
    return true;
}

}  // namespace kuvell
