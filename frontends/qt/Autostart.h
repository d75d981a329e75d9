// SPDX-License-Identifier: MIT
#pragma once
// Start at login: an XDG autostart entry that runs the given executable.
#include <QString>

#include "platform/core/Result.h"

namespace kuvell {

// configHome() (frontends/qt/ConfigHome.h) + "/autostart/kuvell.desktop".
QString defaultAutostartEntryPath();

// Writes the entry atomically (creating its folder); the reason says why it could not.
[[nodiscard]] Result writeRunValue(const QString& entryPath, const QString& executablePath);
// The running executable's absolute path as it is now: on Linux the kernel's
// link follows a rename or move of the file while Kuvell runs.
QString runningExecutablePath();

// Removes the entry; a missing entry is fine. A failure only when it stays behind.
[[nodiscard]] Result deleteRunValue(const QString& entryPath);

}  // namespace kuvell
