// SPDX-License-Identifier: MIT
#include "settings/core/ByteCountFormat.h"

#include <array>
#include <cmath>
#include <optional>

#include "settings/core/TextConversions.h"

namespace kuvell {

namespace {

struct Unit
{
    double divisor;
    const char* name;
};

// Largest first: the first threshold the count reaches picks the unit.
constexpr std::array<Unit, 3> kScaledUnits = {{
    {1073741824.0, "Gigabytes"},
    {1048576.0, "Megabytes"},
    {1024.0, "Kilobytes"},
}};

// Beyond this every double is already a whole number, and count * 100 could overflow.
constexpr double kLargestWithDecimals = 4503599627370496.0;  // 2^52

}  // namespace

ByteCount formatByteCount(double count)
{
    if (count < 1024) return {count, "Bytes"};
    for (const Unit& unit : kScaledUnits) {
        if (!(count >= unit.divisor)) continue;
        ByteCount result{0, unit.name};
        // The cut works on the 15-digit text, so a quotient whose text rounds up
        // at the 15th digit keeps that rounded value.
        const std::string cut = truncateDecimals(numberToText(count / unit.divisor), 2);
        if (const std::optional<double> value = textToNumber(cut)) result.value = *value;
        return result;
    }
    return {};  // NaN: no unit applies
}

std::string truncateDecimals(std::string_view text, uint8_t digits)
{
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, point + 1 + digits));
}

std::string byteCountLine(double count, std::string_view decimalSeparator)
{
    const ByteCount scaled = formatByteCount(count);
    double shown = scaled.value;
    if (std::abs(shown) < kLargestWithDecimals) shown = std::nearbyint(shown * 100) / 100;
    return numberToText(shown, decimalSeparator) + " " + scaled.unitName;
}

}  // namespace kuvell
