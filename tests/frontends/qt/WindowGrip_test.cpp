// SPDX-License-Identifier: MIT
#include "frontends/qt/WindowGrip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace kuvell {
namespace {

constexpr QMargins kBorder(3, 4, 3, 4);

TEST(WindowGrip, SizingEdgesReachQtAsQtEdgesWithTheirCursor)
{
    // The rule itself is the core's; this checks that each edge arrives as Qt's own.
    const QSize window(310, 164);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(0, 0)), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(309, 163)), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(sizingEdgesAt(window, kBorder, QPoint(150, 80)), Qt::Edges());
    EXPECT_EQ(toQtEdges(WindowEdge::Top | WindowEdge::Right), Qt::TopEdge | Qt::RightEdge);

    EXPECT_EQ(sizingCursor(Qt::LeftEdge | Qt::TopEdge), Qt::SizeFDiagCursor);
    EXPECT_EQ(sizingCursor(Qt::RightEdge | Qt::TopEdge), Qt::SizeBDiagCursor);
    EXPECT_EQ(sizingCursor(Qt::Edges(Qt::BottomEdge)), Qt::SizeVerCursor);
    EXPECT_EQ(sizingCursor(Qt::Edges()), Qt::ArrowCursor);
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

    // The left edge moves and the right one stays: the core's rectangle reaches the window.
    const int right = window.geometry().right();
    grip.beginResize(Qt::LeftEdge, QPoint(window.x(), 100));
    EXPECT_TRUE(grip.follow(QPoint(window.x() + 100, 100)));
    QApplication::processEvents();
    EXPECT_EQ(window.width(), 210);
    EXPECT_EQ(window.geometry().right(), right);
    grip.end();

    grip.beginResize(Qt::Edges(), QPoint(0, 0));  // a press inside: nothing to follow
    EXPECT_FALSE(grip.follow(QPoint(10, 10)));
}

}  // namespace
}  // namespace kuvell
