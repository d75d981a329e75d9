// SPDX-License-Identifier: MIT
#include "frontends/win32/TrayMenu.h"

#include <string>

#include "frontends/win32/WideText.h"

namespace kuvell {
namespace {

void appendCommands(HMENU menu)
{
    AppendMenuW(menu, MF_STRING, kOptionsCommand, L"Inställningar");
    AppendMenuW(menu, MF_STRING, kQuitCommand, L"Avsluta");
}

// An "&" in a name is shown, not taken for a shortcut mark.
std::wstring menuCaption(std::string_view caption)
{
    std::wstring shown;
    for (const wchar_t c : wideText(caption)) {
        shown.push_back(c);
        if (c == L'&') shown.push_back(L'&');
    }
    return shown;
}

}  // namespace

HMENU createGraphMenu()
{
    HMENU menu = CreatePopupMenu();
    appendCommands(menu);
    return menu;
}

HMENU createTrayMenu(const std::vector<InterfaceMenuEntry>& interfaces)
{
    HMENU list = CreatePopupMenu();
    for (std::size_t entry = 0; entry < interfaces.size(); ++entry) {
        const InterfaceMenuEntry& shown = interfaces[entry];
        const UINT flags = MF_STRING | (shown.ticked ? MF_CHECKED : MF_UNCHECKED) |
                           (shown.choice ? MF_ENABLED : MF_GRAYED);
        AppendMenuW(list, flags, kFirstInterfaceCommand + entry,
                    menuCaption(shown.caption).c_str());
    }
    HMENU menu = CreatePopupMenu();
    // The submenu is destroyed with the menu that holds it.
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(list),
                wideText(kInterfaceMenuTitle).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    appendCommands(menu);
    return menu;
}

std::optional<std::size_t> interfaceEntryOf(UINT command, std::size_t entries)
{
    if (command < kFirstInterfaceCommand || command - kFirstInterfaceCommand >= entries) {
        return std::nullopt;
    }
    return command - kFirstInterfaceCommand;
}

}  // namespace kuvell
