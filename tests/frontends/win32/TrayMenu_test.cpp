// SPDX-License-Identifier: MIT
// The Win32 tray menu's wiring, under wine: the presenter's interface list
// becomes a real submenu whose commands lead back to its entries.
#include "frontends/win32/TrayMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace kuvell {
namespace {

std::wstring captionAt(HMENU menu, int position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

TEST(TrayMenu, TheInterfaceListComesFirstTickedGreyedAndLeadingBackToItsEntries)
{
    const std::vector<InterfaceMenuEntry> entries = {
        {"Automatiskt", false, std::string()},
        {"R&D-lan – uppe", true, std::string("R&D-lan")},
        {"Ytterligare 3 visas inte", false, std::nullopt}};
    HMENU menu = createTrayMenu(entries);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(captionAt(menu, 0), L"Gränssnitt");
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, 2), kOptionsCommand);
    EXPECT_EQ(GetMenuItemID(menu, 3), kQuitCommand);

    HMENU list = GetSubMenu(menu, 0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(GetMenuItemCount(list), 3);
    EXPECT_EQ(captionAt(list, 1), L"R&&D-lan – uppe") << "an & shows as itself";
    EXPECT_FALSE(GetMenuState(list, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(list, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(list, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(list, 2, MF_BYPOSITION) & MF_GRAYED);
    for (int position = 0; position < 3; ++position) {
        EXPECT_EQ(interfaceEntryOf(GetMenuItemID(list, position), entries.size()),
                  static_cast<std::size_t>(position));
    }
    EXPECT_EQ(interfaceEntryOf(kQuitCommand, entries.size()), std::nullopt);
    EXPECT_EQ(interfaceEntryOf(kFirstInterfaceCommand + 3, entries.size()), std::nullopt)
        << "a command past the list picks nothing";
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(list)) << "the submenu goes with its menu";

    // The graph's menu stays as it was.
    HMENU graph = createGraphMenu();
    ASSERT_EQ(GetMenuItemCount(graph), 2);
    EXPECT_EQ(captionAt(graph, 0), L"Inställningar");
    EXPECT_EQ(captionAt(graph, 1), L"Avsluta");
    DestroyMenu(graph);
}

}  // namespace
}  // namespace kuvell
