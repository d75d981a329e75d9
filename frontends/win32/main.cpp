// SPDX-License-Identifier: MIT
// Kuvell for Windows: a small network-traffic monitor window.
#include <windows.h>

#include <array>
#include <exception>
#include <string>

#include "frontends/win32/MainWindow.h"
#include "platform/WideText.h"
#include "settings/RegistryStore.h"
#include "settings/core/ProgramVariables.h"
#include "stats/SystemIfTableSource.h"

namespace {

// Today in the user's long date format, as the first start stores it.
std::string todayLongDate()
{
    std::array<wchar_t, 128> text{};
    const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr,
                                       text.data(), static_cast<int>(text.size()), nullptr);
    return kuvell::utf8FromWide(std::wstring_view(text.data(), length > 0 ? length - 1 : 0))
        .value_or(std::string());
}

std::string decimalSeparator()
{
    std::array<wchar_t, 8> text{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text.data(),
                                       static_cast<int>(text.size()));
    const auto separator =
        kuvell::utf8FromWide(std::wstring_view(text.data(), length > 0 ? length - 1 : 0));
    return separator && !separator->empty() ? *separator : std::string(".");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    kuvell::ProgramVariables vars;
    kuvell::RegistryStore store;
    kuvell::MonitorSetup setup;
    setup.tableSource = kuvell::makeSystemIfTableSource();
    setup.todayLongDate = todayLongDate();
    setup.decimalSeparator = decimalSeparator();
    setup.doubleClickMilliseconds = static_cast<int>(GetDoubleClickTime());
    try {
        kuvell::MainWindow window(instance, vars, store, std::move(setup));
        window.startUp();
        return window.run();
    } catch (const std::exception& error) {
        const std::wstring text = kuvell::wideFromUtf8(error.what()).value_or(L"Kuvell failed.");
        MessageBoxW(nullptr, text.c_str(), L"Kuvell", MB_OK | MB_ICONERROR);
        return 1;
    }
}
