// SPDX-License-Identifier: MIT
#include "monitor/core/RateHistories.h"

#include <algorithm>

namespace kuvell {

namespace {

void advanceOne(std::array<double, kHistorySlots>& history, int32_t delta)
{
    // Slot 1 is copied to slot 2 and keeps its value; slot 300 is never written.
    std::copy_backward(history.begin() + kNewestSlot, history.begin() + kOldestFilledSlot,
                       history.begin() + kOldestFilledSlot + 1);
    if (delta >= 0) {
        history[kNewestSlot] = static_cast<double>(delta) / 1024.0;
    }
}

}  // namespace

void RateHistories::advance(int32_t downloadDelta, int32_t uploadDelta)
{
    advanceOne(downloadHistory, downloadDelta);
    advanceOne(uploadHistory, uploadDelta);
}

}  // namespace kuvell
