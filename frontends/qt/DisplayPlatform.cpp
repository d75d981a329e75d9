// SPDX-License-Identifier: MIT
#include "frontends/qt/DisplayPlatform.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdio>
#include <span>

#include "platform/core/PlatformChoice.h"

namespace kuvell {

void prepareDisplayPlatform(int argc, char** argv)
{
    const QByteArray qpaPlatform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    const QByteArray sessionType = qgetenv("XDG_SESSION_TYPE");
    const std::span<const char* const> arguments(argv,
                                                 argc > 0 ? static_cast<std::size_t>(argc) : 0);
    const PlatformChoice choice =
        choosePlatform(arguments.empty() ? arguments : arguments.subspan(1),
                       {qpaPlatform.constData(), display.constData(), waylandDisplay.constData(),
                        sessionType.constData()});
    if (choice == PlatformChoice::X11) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (choice == PlatformChoice::WaylandWithoutPlacing) {
        std::fputs(
            "kuvell: no X server (DISPLAY is not set): as a Wayland client the window "
            "can neither be placed nor kept on top\n",
            stderr);
    }
}

}  // namespace kuvell
