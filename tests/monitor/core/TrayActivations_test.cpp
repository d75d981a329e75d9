// SPDX-License-Identifier: MIT
#include "monitor/core/TrayActivations.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

TEST(TrayActivations, XEmbedTraysToggleOnDoubleClicksOnly)
{
    TrayActivations clicks(false, 400);
    EXPECT_FALSE(clicks.toggles(TrayClick::Single, 0));
    EXPECT_TRUE(clicks.toggles(TrayClick::Double, 100));
    EXPECT_TRUE(clicks.toggles(TrayClick::Double, 150));
    EXPECT_FALSE(clicks.toggles(TrayClick::Other, 2000));
}

TEST(TrayActivations, ActivationHostsCountADoubleClickOnce)
{
    TrayActivations clicks(true, 400);
    EXPECT_TRUE(clicks.toggles(TrayClick::Single, 1000));   // hides
    EXPECT_FALSE(clicks.toggles(TrayClick::Single, 1120));  // its second click
    EXPECT_TRUE(clicks.toggles(TrayClick::Single, 1240));   // a new pair begins: shows
    EXPECT_FALSE(clicks.toggles(TrayClick::Single, 1639));  // still within 400 ms of 1240
    EXPECT_TRUE(clicks.toggles(TrayClick::Single, 3000));   // single clicks apart toggle each
    EXPECT_TRUE(clicks.toggles(TrayClick::Single, 3400));   // exactly the interval is apart
    EXPECT_FALSE(clicks.toggles(TrayClick::Double, 5000));
    EXPECT_FALSE(clicks.toggles(TrayClick::Other, 6000));
    EXPECT_TRUE(clicks.toggles(TrayClick::Single, 6100));
    EXPECT_TRUE(clicks.toggles(TrayClick::Single, 10));  // the clock went back: no pair
}

}  // namespace
}  // namespace kuvell
