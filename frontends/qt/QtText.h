// SPDX-License-Identifier: MIT
#pragma once
// The cores speak UTF-8; Qt's widgets take QString.
#include <QString>
#include <string_view>

namespace kuvell {

inline QString qText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace kuvell
