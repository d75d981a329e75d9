#include "platform/Module1.h"

#include <QGuiApplication>
#include <QWidget>

namespace kuvell {

bool PlatformSupportsOpacity(QStringView platformName)
{
    // The plugins that implement window opacity; the others (offscreen, minimal,
    // wayland, eglfs, vnc ...) keep the value and draw the window opaque.
    return platformName == u"xcb" || platformName == u"windows" || platformName == u"cocoa";
}

int32_t SetTransparency(QWidget* window, const int16_t& alpha)
{
    if (alpha < 0 || alpha > 255) {
        return 1;
    }
    if (window == nullptr) {
        return 2;
    }
    window->setWindowOpacity(alpha / 255.0);
    return PlatformSupportsOpacity(QGuiApplication::platformName()) ? 0 : 2;
}

}  // namespace kuvell
