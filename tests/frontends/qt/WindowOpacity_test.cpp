// SPDX-License-Identifier: MIT
#include "frontends/qt/WindowOpacity.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWidget>

namespace kuvell {
namespace {

TEST(WindowOpacity, AlphaOutsideTheByteRangeLeavesTheWindowAlone)
{
    QWidget window;
    window.setWindowOpacity(128 / 255.0);
    const double before = window.windowOpacity();
    EXPECT_EQ(setTransparency(&window, -1), TransparencyResult::AlphaOutOfRange);
    EXPECT_EQ(setTransparency(&window, 256), TransparencyResult::AlphaOutOfRange);
    EXPECT_EQ(setTransparency(&window, INT16_MIN), TransparencyResult::AlphaOutOfRange);
    EXPECT_EQ(setTransparency(&window, INT16_MAX), TransparencyResult::AlphaOutOfRange);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), before);
    EXPECT_EQ(setTransparency(nullptr, 300), TransparencyResult::AlphaOutOfRange);
}

TEST(WindowOpacity, StoresTheOpacityAndSaysWhetherItShows)
{
    // The tests run on the offscreen platform, which keeps the opacity but
    // cannot show it: the value reads back and the code says so.
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    QWidget window;
    window.show();
    EXPECT_EQ(setTransparency(&window, 0), TransparencyResult::NotShown);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    EXPECT_EQ(setTransparency(&window, 26), TransparencyResult::NotShown);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 26 / 255.0);
    EXPECT_EQ(setTransparency(&window, 255), TransparencyResult::NotShown);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    EXPECT_TRUE(window.isVisible());

    // Before the native window exists the value is kept for its creation.
    QWidget notYetShown;
    EXPECT_NE(setTransparency(&notYetShown, 128), TransparencyResult::AlphaOutOfRange);
    EXPECT_DOUBLE_EQ(notYetShown.windowOpacity(), 128 / 255.0);
    EXPECT_EQ(setTransparency(nullptr, 128), TransparencyResult::NotShown);
}

TEST(PlatformSupportsOpacity, OnlyPluginsThatDrawTranslucentWindows)
{
    EXPECT_TRUE(platformSupportsOpacity(u"xcb"));
    EXPECT_TRUE(platformSupportsOpacity(u"windows"));
    EXPECT_TRUE(platformSupportsOpacity(u"cocoa"));
    EXPECT_FALSE(platformSupportsOpacity(u"offscreen"));
    EXPECT_FALSE(platformSupportsOpacity(u"wayland"));
    EXPECT_FALSE(platformSupportsOpacity(u"minimal"));
    EXPECT_FALSE(platformSupportsOpacity(u""));
}

}  // namespace
}  // namespace kuvell
