// SPDX-License-Identifier: MIT
#pragma once
// Start at login: an XDG autostart entry that runs the given executable. Paths
// are the bytes the file system names them by.
#include <string>

#include "platform/core/Result.h"

namespace kuvell {

// configHome() (platform/ConfigHome.h) + "/autostart/kuvell.desktop".
std::string defaultAutostartEntryPath();

// Writes the entry atomically (creating its folder); the reason says why it could not.
[[nodiscard]] Result writeRunValue(const std::string& entryPath, const std::string& executablePath);
// The running executable's absolute path as it is now: on Linux the kernel's
// link follows a rename or move of the file while Kuvell runs. Once the file
// is gone (replaced by an upgrade, say), the path it was started from.
std::string runningExecutablePath();

// Removes the entry; a missing entry is fine. A failure only when it stays behind.
[[nodiscard]] Result deleteRunValue(const std::string& entryPath);

}  // namespace kuvell
