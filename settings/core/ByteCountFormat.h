// SPDX-License-Identifier: MIT
#pragma once
// Byte totals as a person reads them: powers of 1024, two decimals cut, not rounded.
#include <cstdint>
#include <string>
#include <string_view>

namespace kuvell {

struct ByteCount
{
    double value = 0;      // scaled, at most two decimals
    std::string unitName;  // "Bytes", "Kilobytes", "Megabytes" or "Gigabytes"
};

// A count below 1024 (negative ones too) comes back unchanged in "Bytes". A NaN
// count gives 0 and no unit; an infinite one 0 "Gigabytes".
ByteCount formatByteCount(double count);

// Keeps at most `digits` characters after the first "."; text without "." is unchanged.
std::string truncateDecimals(std::string_view text, uint8_t digits);

// The line the settings dialog shows: value rounded to 2 decimals (ties-to-even),
// one space, the unit word; e.g. "1.5 Kilobytes".
std::string byteCountLine(double count, std::string_view decimalSeparator);

}  // namespace kuvell
