// SPDX-License-Identifier: MIT
// Reads Kuvell's main window the way a screen reader or a test tool would:
// found by its title, its styles, outer rectangle, opacity and the rate
// line's text. "close" asks it to close instead. "owned" reads the window
// that the main window owns (the settings dialog): its title, then every
// control inside it: "control <kind> <shown> <x> <y> <width> <height> <text>".
//
//   window_probe.exe [close|owned]
// Prints one "key value" line each, texts in UTF-8; status 2 when no window
// titled "Kuvell" exists, 3 when it owns no shown window.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// One line per text: line breaks are written as "\n".
std::string utf8(const wchar_t* text)
{
    std::wstring oneLine;
    for (; *text != L'\0'; ++text) {
        if (*text == L'\n') {
            oneLine += L"\\n";
        } else if (*text != L'\r') {
            oneLine += *text;
        }
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, oneLine.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, oneLine.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// Asked of the control itself: GetWindowTextW reads another process's edit
// boxes as empty.
std::string windowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return utf8(text);
}

// What a user sees the control as; a button's style tells which kind it is.
const char* kindOf(HWND control)
{
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    if (_wcsicmp(name, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
                return "checkbox";
            case BS_GROUPBOX:
                return "frame";
            default:
                return "button";
        }
    }
    if (_wcsicmp(name, L"Edit") == 0) {
        return (style & ES_NUMBER) != 0 ? "digits" : "edit";
    }
    if (_wcsicmp(name, L"Static") == 0) return "label";
    if (_wcsicmp(name, L"ComboBox") == 0) return "combobox";
    return "other";
}

BOOL CALLBACK printControl(HWND control, LPARAM)
{
    RECT area;
    GetWindowRect(control, &area);
    // A combo box's own edit field shows its text already.
    if (GetParent(control) != nullptr && std::strcmp(kindOf(GetParent(control)), "combobox") == 0) {
        return TRUE;
    }
    std::printf("control %s %d %ld %ld %ld %ld %s\n", kindOf(control),
                IsWindowVisible(control) ? 1 : 0, area.left, area.top, area.right - area.left,
                area.bottom - area.top, windowText(control).c_str());
    return TRUE;
}

struct OwnedSearch
{
    HWND owner;
    HWND found;
};

BOOL CALLBACK findOwned(HWND window, LPARAM search)
{
    auto* wanted = reinterpret_cast<OwnedSearch*>(search);
    if (GetWindow(window, GW_OWNER) == wanted->owner && IsWindowVisible(window)) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

int printOwned(HWND main)
{
    OwnedSearch search{main, nullptr};
    EnumWindows(&findOwned, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        std::puts("no owned window");
        return 3;
    }
    std::printf("title %s\n", windowText(search.found).c_str());
    EnumChildWindows(search.found, &printControl, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    HWND window = FindWindowW(L"KuvellMain", L"Kuvell");
    if (window == nullptr) {
        std::puts("no window");
        return 2;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "close") {
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "owned") {
        return printOwned(window);
    }
    RECT outer;
    GetWindowRect(window, &outer);
    std::printf("rect %ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
                outer.bottom - outer.top);
    std::printf("style 0x%08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)));
    std::printf("exstyle 0x%08lx\n",
                static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
    std::printf("visible %d\n", IsWindowVisible(window) ? 1 : 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) {
        std::printf("alpha %u\n", alpha);
    }
    // The rate line: the window's own static text that says something.
    for (HWND child = FindWindowExW(window, nullptr, L"Static", nullptr); child != nullptr;
         child = FindWindowExW(window, child, L"Static", nullptr)) {
        wchar_t text[256] = {};
        if (GetWindowTextW(child, text, 256) > 0) {
            std::printf("rate %s\n", utf8(text).c_str());
        }
    }
    return 0;
}
