// SPDX-License-Identifier: MIT
#pragma once
// Placement in or out of the always-on-top band, and digits-only text boxes.
#include <cstdint>

class QWidget;
class QLineEdit;

namespace kuvell {

// Moves and sizes the window (rectangle in twips, converted at 15 per pixel
// ties-to-even) and puts it into / takes it out of the topmost band. Never shows
// a hidden window nor hides a visible one; works before the first show.
void placeInBand(QWidget* window, bool topMost, int32_t left, int32_t top, int32_t width,
                 int32_t height);

// Into or out of the topmost band at the window's present outer rectangle.
void setTopMostWhereItIs(QWidget* window, bool topMost);

// Whether the window was last placed in the topmost band by the routines above.
bool isTopMost(const QWidget* window);

// enable != 0: the box accepts digits only, typed or pasted; 0: any text again.
void setNumbersOnly(QLineEdit* textBox, int16_t enable);

}  // namespace kuvell
