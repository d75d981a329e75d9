// SPDX-License-Identifier: MIT
#include "settings/core/ProgramVariables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kuvell {
namespace {

TEST(TransparencyAlpha, MapsTheTenLevelsToTheRoundedOpacity)
{
    for (int32_t level = 0; level <= 9; ++level) {
        const double alpha = 255.0 * (level + 1) * 10 / 100;
        EXPECT_EQ(transparencyAlpha(level), static_cast<int16_t>(std::nearbyint(alpha))) << level;
    }
    EXPECT_EQ(transparencyAlpha(0), 26);  // 25.5 rounds to even
    EXPECT_EQ(transparencyAlpha(9), 255);
    for (int32_t level : {-1, 10, 32767, -32768, INT32_MIN, INT32_MAX})
        EXPECT_EQ(transparencyAlpha(level), std::nullopt) << level;
}

}  // namespace
}  // namespace kuvell
