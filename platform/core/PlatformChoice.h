// SPDX-License-Identifier: MIT
#pragma once
// Which windowing platform Kuvell asks Qt for. A Wayland client can neither
// place its window nor keep it on top, and both are the point of Kuvell's
// window, so where an X server is reachable (XWayland included) Kuvell runs as
// an X11 client unless the user chose a platform.
#include <span>
#include <string_view>

namespace kuvell {

struct PlatformSurroundings
{
    std::string_view qpaPlatform;     // QT_QPA_PLATFORM, empty when unset
    std::string_view display;         // DISPLAY
    std::string_view waylandDisplay;  // WAYLAND_DISPLAY
    std::string_view sessionType;     // XDG_SESSION_TYPE
};

enum class PlatformChoice {
    AsChosen,              // the user's platform, or Qt's own pick on a plain X11 desktop
    X11,                   // set QT_QPA_PLATFORM=xcb before Qt starts
    WaylandWithoutPlacing  // Qt's own pick; tell the user what is lost
};

// arguments: the program's command line without the program name.
PlatformChoice choosePlatform(std::span<const char* const> arguments,
                              const PlatformSurroundings& surroundings);

}  // namespace kuvell
