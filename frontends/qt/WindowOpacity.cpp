// SPDX-License-Identifier: MIT
#include "frontends/qt/WindowOpacity.h"

#include <QGuiApplication>
#include <QWidget>

namespace kuvell {

bool platformSupportsOpacity(QStringView platformName)
{
    // The plugins that implement window opacity; the others (offscreen, minimal,
    // wayland, eglfs, vnc ...) keep the value and draw the window opaque.
    return platformName == u"xcb" || platformName == u"windows" || platformName == u"cocoa";
}

TransparencyResult setTransparency(QWidget* window, const int16_t& alpha)
{
    if (alpha < 0 || alpha > 255) {
        return TransparencyResult::AlphaOutOfRange;
    }
    if (window == nullptr) {
        return TransparencyResult::NotShown;
    }
    window->setWindowOpacity(alpha / 255.0);
    return platformSupportsOpacity(QGuiApplication::platformName()) ? TransparencyResult::Applied
                                                                    : TransparencyResult::NotShown;
}

}  // namespace kuvell
