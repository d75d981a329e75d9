// SPDX-License-Identifier: MIT
#pragma once
// The two popup menus: the graph's "Inställningar" / "Avsluta", and the tray
// icon's, which has the interface to measure ("Gränssnitt") above them. Both
// are made as they open and destroyed after; the commands say which entry was
// picked.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "monitor/core/InterfaceMenu.h"

namespace kuvell {

inline constexpr UINT kOptionsCommand = 1;
inline constexpr UINT kQuitCommand = 2;
// Entry i of the interface list has command kFirstInterfaceCommand + i.
inline constexpr UINT kFirstInterfaceCommand = 100;

HMENU createGraphMenu();
// The interface entries as the presenter gives them: ticked, greyed when they
// cannot be chosen.
HMENU createTrayMenu(const std::vector<InterfaceMenuEntry>& interfaces);

// The interface entry a command picks; nullopt for every other command.
std::optional<std::size_t> interfaceEntryOf(UINT command, std::size_t entries);

}  // namespace kuvell
