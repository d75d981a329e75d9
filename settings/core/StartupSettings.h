// SPDX-License-Identifier: MIT
#pragma once
// The start-up reads: each key in its own guarded step; a text that fails its
// conversion leaves its variable at the initial value.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Twips.h"
#include "settings/core/KeyValueStore.h"
#include "settings/core/ProgramVariables.h"

namespace kuvell {

// The window's outer rectangle; 0 where a read failed.
using WindowPlacement = TwipsRect;

struct StartupSettings
{
    WindowPlacement placement;
    std::optional<int16_t> transparencyLevel;  // nullopt when "visibility" failed to convert
    // Opt-in measuring choices, UTF-8 as stored, empty when absent: the
    // statistics and the tick interpret them.
    std::string interfaceChoice;
    std::string jumpLimitText;
};

// Fills `vars` from the store (the layout, the first-start date (written once
// with todayLongDate when it reads "null"), colours, speed, totals, always on
// top) and returns the placement, the transparency level and the two
// measuring choices. Nothing is written once stopRequested says so.
StartupSettings loadStartupSettings(KeyValueStore& store, ProgramVariables& vars,
                                    std::string_view todayLongDate,
                                    const std::function<bool()>& stopRequested = {});

}  // namespace kuvell
