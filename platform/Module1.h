#pragma once
#include <cstdint>

class QWidget;

namespace kuvell {

// 0 applied, 1 alpha outside 0..255 (nothing done), 2 the window system refused.
int32_t SetTransparency(QWidget* window, const int16_t& alpha);

}  // namespace kuvell
