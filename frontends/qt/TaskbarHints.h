// SPDX-License-Identifier: MIT
#pragma once
// Keeps a small always-there window off the taskbar and the pager, which a
// tool window alone does not achieve under every window manager.

class QWidget;

namespace kuvell {

// Has the window manager leave this top-level window off the taskbar and the
// pager from its first map on, through every hide and show. Call once, before
// the first show. Does nothing where the windowing system has no such request.
void keepOffTaskbar(QWidget* window);

}  // namespace kuvell
