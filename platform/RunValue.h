// SPDX-License-Identifier: MIT
#pragma once
// Start at login on Windows: a value under a Run key of the registry that
// names the executable to start. The texts are UTF-16, as the registry's own
// calls take them, so any path is stored whole.
#include <string>
#include <string_view>

#include "platform/core/Result.h"

namespace kuvell {

enum class RegistryRoot {
    LocalMachine,  // HKEY_LOCAL_MACHINE: every user; writing needs administrator rights
    CurrentUser,   // HKEY_CURRENT_USER
};

inline constexpr std::wstring_view kRunSubKey =
    L"Software\\microsoft\\windows\\currentversion\\run";
inline constexpr std::wstring_view kRunValueName = L"Kuvell";

// Creates the sub key when it is missing and sets the value, of type REG_SZ, to
// data, replacing one of the same name. A failure when the registry refuses (no
// rights, for one) or a text holds a NUL, which the registry would cut at.
[[nodiscard]] Result writeRunValue(RegistryRoot root, std::wstring_view subKey,
                                   std::wstring_view valueName, std::wstring_view data);

// Removes the value. A value or sub key that does not exist is already removed:
// a success, and nothing changes.
[[nodiscard]] Result deleteRunValue(RegistryRoot root, std::wstring_view subKey,
                                    std::wstring_view valueName);

// The full path of the running executable, read at each call; empty when
// Windows cannot tell it.
std::wstring executablePath();

}  // namespace kuvell
