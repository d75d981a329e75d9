#pragma once
#include <QStringView>
#include <cstdint>

class QWidget;

namespace kuvell {

// 0 applied, 1 alpha outside 0..255 (nothing done), 2 the window system refused.
// The opacity is stored on the window in every case but 1, so it reads back (and
// takes effect should the window move to a display that can show it); 2 only
// says that the present window system does not show it.
int32_t setTransparency(QWidget* window, const int16_t& alpha);

// Whether windows of the named Qt platform plugin can be shown translucent. X11
// counts as able: the window carries the opacity, and whichever compositor runs,
// now or later, honours it.
bool platformSupportsOpacity(QStringView platformName);

}  // namespace kuvell
