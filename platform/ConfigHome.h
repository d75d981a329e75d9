// SPDX-License-Identifier: MIT
#pragma once
// The per-user folder that holds Kuvell's settings and its autostart entry.
#include <string>

namespace kuvell {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config, as the bytes
// the file system names it by. A relative value is invalid by the
// base-directory rules; followed, it would put the settings wherever Kuvell
// happened to be started from.
std::string configHome();

}  // namespace kuvell
