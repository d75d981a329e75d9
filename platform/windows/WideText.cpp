// SPDX-License-Identifier: MIT
#include "platform/WideText.h"

#include <windows.h>

#include <limits>

namespace kuvell {

std::optional<std::wstring> wideFromUtf8(std::string_view utf8)
{
    if (utf8.empty()) {
        return std::wstring();
    }
    if (utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    const int bytes = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), bytes, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), bytes, wide.data(),
                            length) != length) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> utf8FromWide(std::wstring_view wide)
{
    if (wide.empty()) {
        return std::string();
    }
    if (wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 3)) {
        return std::nullopt;
    }
    const int units = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), units,
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), units, utf8.data(), length,
                            nullptr, nullptr) != length) {
        return std::nullopt;
    }
    return utf8;
}

}  // namespace kuvell
