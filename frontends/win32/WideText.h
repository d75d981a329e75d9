// SPDX-License-Identifier: MIT
#pragma once
// Texts for the window calls: what cannot be converted shows as nothing.
#include <string>
#include <string_view>

#include "platform/WideText.h"

namespace kuvell {

inline std::wstring wideText(std::string_view utf8) { return wideFromUtf8(utf8).value_or(L""); }
inline std::string utf8Text(std::wstring_view wide) { return utf8FromWide(wide).value_or(""); }

}  // namespace kuvell
