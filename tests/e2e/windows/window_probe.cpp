// SPDX-License-Identifier: MIT
// Reads Kuvell's main window the way a screen reader or a test tool would:
// found by its title, its styles, outer rectangle, opacity and the rate
// line's text. "close" asks it to close instead.
//
//   window_probe.exe [close]
// Prints one "key value" line each; status 2 when no window titled "Kuvell" exists.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string narrow(const wchar_t* text)
{
    std::string out;
    for (; *text != L'\0'; ++text) {
        out.push_back(*text < 128 ? static_cast<char>(*text) : '?');
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    HWND window = FindWindowW(L"KuvellMain", L"Kuvell");
    if (window == nullptr) {
        std::puts("no window");
        return 2;
    }
    if (argc > 1 && std::strcmp(argv[1], "close") == 0) {
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
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
            std::printf("rate %s\n", narrow(text).c_str());
        }
    }
    return 0;
}
