// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's texts are UTF-8; Windows' wide calls take UTF-16.
#include <string>
#include <string_view>

namespace kuvell {

// Invalid UTF-8 becomes U+FFFD, as Windows converts it.
std::wstring wideText(std::string_view utf8);
std::string utf8Text(std::wstring_view wide);

}  // namespace kuvell
