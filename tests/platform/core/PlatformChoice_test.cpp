// SPDX-License-Identifier: MIT
#include "platform/core/PlatformChoice.h"

#include <gtest/gtest.h>

#include <vector>

namespace kuvell {
namespace {

PlatformChoice choose(std::vector<const char*> arguments, PlatformSurroundings surroundings)
{
    return choosePlatform(arguments, surroundings);
}

TEST(PlatformChoice, AnXServerWinsUnlessTheUserChose)
{
    const PlatformSurroundings plasma{"", ":0", "wayland-0", "wayland"};
    EXPECT_EQ(choose({}, plasma), PlatformChoice::X11);
    EXPECT_EQ(choose({"-platformtheme", "kde"}, plasma), PlatformChoice::X11);
    EXPECT_EQ(choose({nullptr}, plasma), PlatformChoice::X11);
    EXPECT_EQ(choose({}, {"", ":1", "", "x11"}), PlatformChoice::X11);

    EXPECT_EQ(choose({}, {"wayland", ":0", "wayland-0", "wayland"}), PlatformChoice::AsChosen);
    EXPECT_EQ(choose({}, {"offscreen", ":0", "", ""}), PlatformChoice::AsChosen);
    for (const char* option : {"-platform", "--platform", "-platform=wayland", "--platform=xcb"}) {
        EXPECT_EQ(choose({option, "wayland"}, plasma), PlatformChoice::AsChosen) << option;
    }
}

TEST(PlatformChoice, WaylandWithoutAnXServerIsToldOnce)
{
    EXPECT_EQ(choose({}, {"", "", "wayland-0", ""}), PlatformChoice::WaylandWithoutPlacing);
    EXPECT_EQ(choose({}, {"", "", "", "wayland"}), PlatformChoice::WaylandWithoutPlacing);
    EXPECT_EQ(choose({"-platform", "wayland"}, {"", "", "wayland-0", "wayland"}),
              PlatformChoice::AsChosen);
    // No display at all: Qt says what it cannot open.
    EXPECT_EQ(choose({}, {"", "", "", "tty"}), PlatformChoice::AsChosen);
}

}  // namespace
}  // namespace kuvell
