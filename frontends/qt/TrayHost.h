// SPDX-License-Identifier: MIT
#pragma once
// Which kind of notification area Qt will talk to. A StatusNotifierItem host
// reports activations only, never double-clicks.

namespace kuvell {

// Asks the session bus once whether org.kde.StatusNotifierWatcher reports a
// registered host (the same test Qt makes before it picks that backend). False
// without a session bus, without a watcher, or when the answer does not come.
bool statusNotifierHostRegistered();

}  // namespace kuvell
