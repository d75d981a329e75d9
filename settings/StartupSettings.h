#pragma once
// The start-up reads: each key in its own guarded step; a text that fails its
// conversion leaves its variable at the initial value.
#include <cstdint>
#include <optional>

#include <QString>

#include "settings/SettingsStore.h"
#include "settings/core/ProgramVariables.h"

namespace kuvell {

struct WindowPlacement {  // twips; 0 where a read failed
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct StartupSettings {
    WindowPlacement placement;
    std::optional<int16_t> transparencyLevel;  // nullopt when "visibility" failed to convert
};

// Fills `vars` from the store ("graphics", "installdate" (written once with
// todayLongDate when it reads "null"), "visibility", colours, speed, placement,
// totals, "ontop") and returns the placement and the transparency level.
StartupSettings loadStartupSettings(SettingsStore& store, ProgramVariables& vars,
                                    const QString& todayLongDate);

}  // namespace kuvell
