// SPDX-License-Identifier: MIT
#pragma once
// Applies choosePlatform to this process; call before the QApplication exists.

namespace kuvell {

// May set QT_QPA_PLATFORM=xcb, or print one note on stderr when Kuvell will run
// as a Wayland client.
void prepareDisplayPlatform(int argc, char** argv);

}  // namespace kuvell
