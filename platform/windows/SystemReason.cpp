// SPDX-License-Identifier: MIT
#include "platform/SystemReason.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "platform/WideText.h"

namespace kuvell {

std::string systemReason(unsigned long code)
{
    const std::string number = "error " + std::to_string(code);
    std::array<wchar_t, 512> buffer{};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    std::wstring_view text(buffer.data(), length < buffer.size() ? length : 0);
    // The system's texts end in a full stop and a line break; the message goes on after them.
    while (!text.empty() && (text.back() == L'.' || text.back() == L'\r' || text.back() == L'\n' ||
                             text.back() == L' ')) {
        text.remove_suffix(1);
    }
    const std::optional<std::string> words = utf8FromWide(text);
    if (!words || words->empty()) {
        return number;
    }
    return *words + " (" + number + ")";
}

}  // namespace kuvell
