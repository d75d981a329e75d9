// SPDX-License-Identifier: MIT
#include "frontends/qt/WindowGrip.h"

#include <QWidget>
#include <QWindow>

namespace kuvell {

// Qt's edge flags are the core's edge bits.
static_assert(Qt::TopEdge == static_cast<int>(WindowEdge::Top) &&
              Qt::LeftEdge == static_cast<int>(WindowEdge::Left) &&
              Qt::RightEdge == static_cast<int>(WindowEdge::Right) &&
              Qt::BottomEdge == static_cast<int>(WindowEdge::Bottom));

Qt::Edges toQtEdges(WindowEdges edges) { return Qt::Edges(edges.bits()); }

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
    edges_ = WindowEdges::fromBits(static_cast<unsigned>(edges.toInt()));
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
