// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's texts are UTF-8; Windows' wide calls take UTF-16. Text that is not
// valid in its encoding converts to nothing rather than to something else.
#include <optional>
#include <string>
#include <string_view>

namespace kuvell {

// nullopt for invalid UTF-8 (a stray byte, an overlong form, a surrogate).
std::optional<std::wstring> wideFromUtf8(std::string_view utf8);
// nullopt for invalid UTF-16 (a surrogate without its partner).
std::optional<std::string> utf8FromWide(std::wstring_view wide);

// The registry and the window calls end a text at its first NUL.
inline bool holdsNul(std::wstring_view text) { return text.find(L'\0') != std::wstring_view::npos; }

}  // namespace kuvell
