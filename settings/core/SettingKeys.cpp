// SPDX-License-Identifier: MIT
#include "settings/core/SettingKeys.h"

namespace kuvell {

std::optional<std::string> anyText(std::string_view text) { return std::string(text); }

std::optional<bool> graphOnlyFromText(std::string_view text)
{
    const std::optional<double> number = textToNumber(text);
    if (!number) return std::nullopt;
    return *number == 1;
}

std::optional<bool> exactlyOneFromText(std::string_view text) { return text == "1"; }

std::string flagText(bool ticked) { return ticked ? "1" : "0"; }

}  // namespace kuvell
