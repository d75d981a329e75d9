// SPDX-License-Identifier: MIT
#pragma once
// The start-up reads: each key in its own guarded step; a text that fails its
// conversion leaves its variable at the initial value.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "settings/SettingsStore.h"
#include "settings/core/ProgramVariables.h"

namespace kuvell {

struct WindowPlacement
{  // twips; 0 where a read failed
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct StartupSettings
{
    WindowPlacement placement;
    std::optional<int16_t> transparencyLevel;  // nullopt when "visibility" failed to convert
    // Opt-in measuring choices, UTF-8 as stored, empty when absent. Only ever
    // read: the statistics and the tick interpret them.
    std::string interfaceChoice;  // [options] interface
    std::string jumpLimitText;    // [options] jumplimit
};

// Fills `vars` from the store ("graphics", "installdate" (written once with
// todayLongDate when it reads "null"), "visibility", colours, speed, placement,
// totals, "ontop") and returns the placement, the transparency level and the
// two measuring choices. Nothing is written once stopRequested says so.
StartupSettings loadStartupSettings(SettingsStore& store, ProgramVariables& vars,
                                    const QString& todayLongDate,
                                    const std::function<bool()>& stopRequested = {});

}  // namespace kuvell
