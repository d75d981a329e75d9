// SPDX-License-Identifier: MIT
// Page switching and the banner sweep: one row per step, started over by a
// click instead of nested in it, and never drawn into a dialog that is hidden.
#include <gtest/gtest.h>

#include "support/SettingsDialogFakes.h"

namespace kuvell {
using namespace testsupport;
namespace {

using DialogBanner = DialogPresenterTest;

// Steps until the sweep says it is over.
int stepsToTheEnd(SettingsDialogPresenter& presenter)
{
    int steps = 1;  // the last, which ends the sweep
    while (presenter.sweepStep()) ++steps;
    return steps;
}

TEST_F(DialogBanner, EveryPageButtonShowsItsPageAndStartsASweepWithoutDrawing)
{
    for (const int chosen : {3, 2, 1, 0}) {
        presenter.pageChosen(chosen);
        EXPECT_EQ(dialog.page, chosen);
    }
    EXPECT_EQ(dialog.sweepsStarted, 4);
    EXPECT_TRUE(dialog.steps.empty());  // a click returns at once: nothing runs inside it
}

TEST_F(DialogBanner, TheSweepCoversEveryColumnFromTheSecondColumnAndRowOn)
{
    presenter.pageChosen(2);
    EXPECT_EQ(stepsToTheEnd(presenter), kBannerDrawableWidth * kBannerDrawableHeight);
    const auto& steps = dialog.steps;
    ASSERT_EQ(steps.size(), std::size_t{kBannerDrawableWidth * kBannerDrawableHeight});
    // Column 0 and row 0 keep the box's white until the finished picture arrives.
    for (const auto& [x, y] : steps) ASSERT_TRUE(x >= 1 && y >= 1) << x << ", " << y;
    // Column 1 is swept in full first: each row from there on wears the pixel read at (1, y).
    EXPECT_EQ(steps.front(), std::make_pair(1, 1));
    EXPECT_EQ(steps[kBannerDrawableHeight - 1], std::make_pair(1, kBannerDrawableHeight));
    EXPECT_EQ(steps[kBannerDrawableHeight], std::make_pair(2, 1));
    EXPECT_EQ(steps.back(), std::make_pair(kBannerDrawableWidth, kBannerDrawableHeight));
    EXPECT_EQ(dialog.wholeBanners, 1);
}

// Every click arriving during a sweep used to run a whole sweep inside the
// running one; a flood of them overflowed the stack.
TEST_F(DialogBanner, APageChoiceMidSweepStartsOverAndAFloodCostsOneSweep)
{
    presenter.pageChosen(2);
    for (int step = 0; step < 1000; ++step) ASSERT_TRUE(presenter.sweepStep());
    presenter.pageChosen(3);
    dialog.steps.clear();
    EXPECT_EQ(stepsToTheEnd(presenter), kBannerDrawableWidth * kBannerDrawableHeight);
    // The first column again from its top, not the rows the first sweep had reached.
    EXPECT_EQ(dialog.steps.front(), std::make_pair(1, 1));

    for (int click = 0; click < 3000; ++click) {
        presenter.pageChosen(click % 4);
        ASSERT_TRUE(presenter.sweepStep());
    }
    EXPECT_EQ(dialog.page, 3);  // the last click: 2999 % 4
    EXPECT_EQ(stepsToTheEnd(presenter), kBannerDrawableWidth * kBannerDrawableHeight - 1);
    EXPECT_EQ(dialog.wholeBanners, 2);
}

TEST_F(DialogBanner, AClosedDialogIsNotDrawnInto)
{
    presenter.pageChosen(2);
    for (int step = 0; step < 100; ++step) ASSERT_TRUE(presenter.sweepStep());
    dialog.shown = false;
    EXPECT_FALSE(presenter.sweepStep());
    EXPECT_EQ(dialog.steps.size(), 100u);  // stopped part-way
    EXPECT_EQ(dialog.wholeBanners, 0);
}

}  // namespace
}  // namespace kuvell
