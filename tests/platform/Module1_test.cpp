#include "platform/Module1.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWidget>

namespace kuvell {
namespace {

TEST(SetTransparency, AlphaOutsideTheByteRangeLeavesTheWindowAlone)
{
    QWidget window;
    window.setWindowOpacity(128 / 255.0);
    const double before = window.windowOpacity();
    EXPECT_EQ(SetTransparency(&window, -1), 1);
    EXPECT_EQ(SetTransparency(&window, 256), 1);
    EXPECT_EQ(SetTransparency(&window, INT16_MIN), 1);
    EXPECT_EQ(SetTransparency(&window, INT16_MAX), 1);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), before);
    EXPECT_EQ(SetTransparency(nullptr, 300), 1);
}

TEST(SetTransparency, StoresTheOpacityAndSaysWhetherItShows)
{
    // The tests run on the offscreen platform, which keeps the opacity but
    // cannot show it: the value reads back and the code says so.
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    QWidget window;
    window.show();
    EXPECT_EQ(SetTransparency(&window, 0), 2);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    EXPECT_EQ(SetTransparency(&window, 26), 2);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 26 / 255.0);
    EXPECT_EQ(SetTransparency(&window, 255), 2);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    EXPECT_TRUE(window.isVisible());

    // Before the native window exists the value is kept for its creation.
    QWidget notYetShown;
    SetTransparency(&notYetShown, 128);
    EXPECT_DOUBLE_EQ(notYetShown.windowOpacity(), 128 / 255.0);
    EXPECT_EQ(SetTransparency(nullptr, 128), 2);
}

TEST(PlatformSupportsOpacity, OnlyPluginsThatDrawTranslucentWindows)
{
    EXPECT_TRUE(PlatformSupportsOpacity(u"xcb"));
    EXPECT_TRUE(PlatformSupportsOpacity(u"windows"));
    EXPECT_TRUE(PlatformSupportsOpacity(u"cocoa"));
    EXPECT_FALSE(PlatformSupportsOpacity(u"offscreen"));
    EXPECT_FALSE(PlatformSupportsOpacity(u"wayland"));
    EXPECT_FALSE(PlatformSupportsOpacity(u"minimal"));
    EXPECT_FALSE(PlatformSupportsOpacity(u""));
}

}  // namespace
}  // namespace kuvell
