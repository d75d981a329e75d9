// SPDX-License-Identifier: MIT
#include "monitor/core/TrayActivations.h"

namespace kuvell {

TrayActivations::TrayActivations(bool singleActivationsOnly, int doubleClickMilliseconds)
    : singleActivationsOnly_(singleActivationsOnly),
      doubleClickMilliseconds_(doubleClickMilliseconds)
{
}

bool TrayActivations::toggles(TrayClick click, int64_t nowMilliseconds)
{
    if (!singleActivationsOnly_) {
        return click == TrayClick::Double;
    }
    if (click != TrayClick::Single) {
        return false;
    }
    // The second click of a double-click; a third one starts a new pair. A clock
    // that went backwards never pairs, so no click is swallowed for long.
    if (lastToggle_ && nowMilliseconds >= *lastToggle_ &&
        nowMilliseconds - *lastToggle_ < doubleClickMilliseconds_) {
        lastToggle_.reset();
        return false;
    }
    lastToggle_ = nowMilliseconds;
    return true;
}

}  // namespace kuvell
