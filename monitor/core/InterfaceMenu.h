// SPDX-License-Identifier: MIT
#pragma once
// The tray menu's list of interfaces to measure, made from the table of the
// moment the menu opens: "Automatiskt" (the last interface with a hardware
// address) first, then the interfaces in table order, each as its
// description and name and whether it is up.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/core/IfTableView.h"

namespace kuvell {

struct InterfaceMenuEntry
{
    std::string caption;  // plain UTF-8; a frontend escapes its own mnemonic marks
    bool ticked = false;
    // The text stored as the measured interface when the entry is chosen: empty
    // for the automatic entry; nullopt for an entry that cannot be chosen.
    std::optional<std::string> choice;
};

// More entries would make a menu taller than a screen, and thousands (one per
// container) would take seconds to build; the chosen interface always stays.
inline constexpr std::size_t kInterfaceMenuRows = 30;

inline constexpr std::string_view kInterfaceMenuTitle = "Gränssnitt";
inline constexpr std::string_view kAutomaticInterfaceCaption = "Automatiskt";

// chosen: the stored choice (a name or a description), empty for automatic.
// A chosen interface that is not in the table is listed as missing, ticked.
// Beyond `rows` interfaces, a last entry that cannot be chosen says how many
// are not shown.
std::vector<InterfaceMenuEntry> interfaceMenu(const IfTableView& table, std::string_view chosen,
                                              std::size_t rows = kInterfaceMenuRows);

}  // namespace kuvell
