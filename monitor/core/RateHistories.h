// SPDX-License-Identifier: MIT
#pragma once
// The two rate histories behind the graph: kilobytes per tick, newest in slot 1.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kuvell {

// Slots 0..300; only 1..299 ever receive samples, so the graph shows 299 ticks.
inline constexpr std::size_t kHistorySlots = 301;
inline constexpr std::size_t kNewestSlot = 1;
inline constexpr std::size_t kOldestFilledSlot = 299;

struct RateHistories
{
    std::array<double, kHistorySlots> downloadHistory{};
    std::array<double, kHistorySlots> uploadHistory{};

    // Moves every sample one slot older (slot 299 drops out) and stores the new
    // tick in slot 1. A negative delta keeps slot 1 as it was, so the previous
    // value is shown again.
    void advance(int32_t downloadDelta, int32_t uploadDelta);
};

}  // namespace kuvell
