// SPDX-License-Identifier: MIT
#include "platform/core/PlatformChoice.h"

namespace kuvell {

namespace {

// Qt takes "-platform name", "--platform name" and the "=name" forms.
bool namesAPlatform(std::span<const char* const> arguments)
{
    for (const char* argument : arguments) {
        if (argument == nullptr) {
            continue;
        }
        std::string_view text(argument);
        if (text.starts_with("--")) {
            text.remove_prefix(1);
        }
        if (text == "-platform" || text.starts_with("-platform=")) {
            return true;
        }
    }
    return false;
}

}  // namespace

PlatformChoice choosePlatform(std::span<const char* const> arguments,
                              const PlatformSurroundings& surroundings)
{
    if (!surroundings.qpaPlatform.empty() || namesAPlatform(arguments)) {
        return PlatformChoice::AsChosen;
    }
    if (!surroundings.display.empty()) {
        return PlatformChoice::X11;
    }
    if (!surroundings.waylandDisplay.empty() || surroundings.sessionType == "wayland") {
        return PlatformChoice::WaylandWithoutPlacing;
    }
    return PlatformChoice::AsChosen;
}

}  // namespace kuvell
