// SPDX-License-Identifier: MIT
#include "frontends/qt/Colours.h"

#include <gtest/gtest.h>

namespace kuvell {
namespace {

TEST(Colours, RedSitsInTheLowByte)
{
    EXPECT_EQ(colourFromBgr(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(colourFromBgr(0x00FF00), QColor(0, 255, 0));
    EXPECT_EQ(colourFromBgr(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colourFromBgr(0x123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(bgrFromColour(QColor(0x56, 0x34, 0x12)), 0x123456);
    EXPECT_EQ(bgrFromColour(QColor(255, 255, 255)), 0xFFFFFF);
}

TEST(Colours, RoundTripsAndIgnoresWhatIsNoColour)
{
    for (const int32_t bgr : {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080, 0xC0FFEE}) {
        EXPECT_EQ(bgrFromColour(colourFromBgr(bgr)), bgr);
    }
    // A hand-edited value with a high byte (or a negative one) keeps its three colour bytes.
    EXPECT_EQ(colourFromBgr(0x7F0000FF), QColor(255, 0, 0));
    EXPECT_EQ(colourFromBgr(-1), QColor(255, 255, 255));
    // The colour picker may hand back another colour model, and never an alpha byte.
    EXPECT_EQ(bgrFromColour(QColor::fromHsv(0, 255, 255)), 0x0000FF);
    EXPECT_EQ(bgrFromColour(QColor(0, 0, 255, 10)), 0xFF0000);
}

}  // namespace
}  // namespace kuvell
