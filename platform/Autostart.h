#pragma once
// Start at login: an XDG autostart entry that runs the given executable.
#include <QString>

namespace kuvell {

// ConfigHome() (platform/ConfigHome.h) + "/autostart/kuvell.desktop".
QString DefaultAutostartEntryPath();

// Writes the entry atomically (creating its folder); false when it could not be written.
bool WriteRunValue(const QString& entryPath, const QString& executablePath);
// The running executable's absolute path as it is now: on Linux the kernel's
// link follows a rename or move of the file while Kuvell runs.
QString RunningExecutablePath();

// Removes the entry; a missing entry is fine (true). False only when it stays behind.
bool DeleteRunValue(const QString& entryPath);

}  // namespace kuvell
