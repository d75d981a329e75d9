// SPDX-License-Identifier: MIT
#include "monitor/WindowGrip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace kuvell {
namespace {

constexpr QMargins kBorder(3, 4, 3, 4);

TEST(WindowGrip, SizingEdgesFollowTheBorder)
{
    const QSize window(310, 164);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(0, 0)), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(309, 163)), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(2, 80)), Qt::Edges(Qt::LeftEdge));
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(3, 80)), Qt::Edges());
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(150, 160)), Qt::Edges(Qt::BottomEdge));
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(150, 159)), Qt::Edges());
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(310, 80)), Qt::Edges());  // outside
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(-1, -1)), Qt::Edges());
    // The smallest window is nearly all border; each point still gets one side per axis.
    EXPECT_EQ(sizingEdgesAt(QSize(10, 10), kBorder, QPoint(5, 5)), Qt::Edges());
    EXPECT_EQ(sizingEdgesAt(QSize(4, 4), kBorder, QPoint(1, 1)), Qt::RightEdge | Qt::BottomEdge);

    EXPECT_EQ(sizingCursor(Qt::LeftEdge | Qt::TopEdge), Qt::SizeFDiagCursor);
    EXPECT_EQ(sizingCursor(Qt::RightEdge | Qt::TopEdge), Qt::SizeBDiagCursor);
    EXPECT_EQ(sizingCursor(Qt::Edges(Qt::BottomEdge)), Qt::SizeVerCursor);
    EXPECT_EQ(sizingCursor(Qt::Edges()), Qt::ArrowCursor);
}

TEST(WindowGrip, ResizeStaysWithinTheBoundsAndKeepsTheOppositeEdges)
{
    const QRect start(100, 100, 200, 100);
    EXPECT_EQ(resizedGeometry(start, Qt::RightEdge, QPoint(50, 0)), QRect(100, 100, 250, 100));
    EXPECT_EQ(resizedGeometry(start, Qt::RightEdge, QPoint(400, 0)), QRect(100, 100, 310, 100));
    EXPECT_EQ(resizedGeometry(start, Qt::BottomEdge, QPoint(0, 20000)),
              QRect(100, 100, 200, 10000));
    // Dragging the left or top edge moves that edge; the right and bottom stay put.
    const QRect left = resizedGeometry(start, Qt::LeftEdge | Qt::TopEdge, QPoint(195, 95));
    EXPECT_EQ(left.size(), QSize(10, 10));
    EXPECT_EQ(left.right(), start.right());
    EXPECT_EQ(left.bottom(), start.bottom());
    const QRect wider = resizedGeometry(start, Qt::LeftEdge, QPoint(-300, 0));
    EXPECT_EQ(wider.width(), 310);
    EXPECT_EQ(wider.right(), start.right());
}

TEST(WindowGrip, WithoutAWindowManagerTheWindowFollowsTheMouse)
{
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.setGeometry(50, 60, 200, 100);
    window.show();
    WindowGrip grip(window);

    grip.beginMove(QPoint(100, 100));  // the offscreen platform cannot move windows itself
    EXPECT_TRUE(grip.follow(QPoint(130, 90)));
    EXPECT_EQ(window.pos(), QPoint(80, 50));
    grip.end();
    EXPECT_FALSE(grip.follow(QPoint(500, 500)));
    EXPECT_EQ(window.pos(), QPoint(80, 50));

    grip.beginResize(Qt::RightEdge | Qt::BottomEdge, QPoint(279, 149));
    EXPECT_TRUE(grip.follow(QPoint(1000, 159)));
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(310, 110));
    grip.end();

    grip.beginResize(Qt::Edges(), QPoint(0, 0));  // a press inside: nothing to follow
    EXPECT_FALSE(grip.follow(QPoint(10, 10)));
}

}  // namespace
}  // namespace kuvell
