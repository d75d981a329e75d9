// SPDX-License-Identifier: MIT
// Ctrl+C itself needs a console, which a test runner does not give: the
// end-to-end test of kuvell-ifstat.exe sends it.
#include "platform/StopSignals.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kuvell {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

TEST(StopSignals, WaitsUntilTheDeadline)
{
    StopSignals stopSignals;
    const auto start = Clock::now();
    EXPECT_TRUE(stopSignals.waitUntil(start + 200ms));
    EXPECT_GE(Clock::now() - start, 200ms);
    EXPECT_TRUE(stopSignals.waitUntil(start)) << "a deadline already past";
}

}  // namespace
}  // namespace kuvell
