// SPDX-License-Identifier: MIT
#pragma once
// The settings dialog's window procedures: the dialog's own, and the one of the
// pages and frames, which pass their controls' notifications up to it.
#include <windows.h>

namespace kuvell {

inline constexpr UINT_PTR kSweepTimer = 1;
inline constexpr int kFirstControlId = 100;

struct SettingsDialogWindows
{
    static LRESULT CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK containerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Registers both classes once; false when Windows refused.
    static bool registerClasses();
};

inline constexpr wchar_t kDialogClass[] = L"KuvellSettings";
inline constexpr wchar_t kContainerClass[] = L"KuvellSettingsPage";

}  // namespace kuvell
