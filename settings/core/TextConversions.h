// SPDX-License-Identifier: MIT
#pragma once
// Conversions between stored/shown text and numbers. Every caller uses these,
// so the store, the tick, the dialog and kuvell-ifstat agree on every digit.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kuvell {

// Optional blanks, an optional sign and decimal digits (a fraction rounds
// ties-to-even), or "&H" and hexadecimal digits. Fails (nullopt) on text that is
// not a number or lies outside the type's range; never turns a failure into 0.
// Blanks are spaces and tabs, before and after. The hexadecimal digits ("&h"
// too, no sign) are the type's two's-complement bit pattern: at most 8
// significant digits for 32 bits ("&HFFFFFFFF" is -1), 4 for 16 bits ("&HFFFF"
// is -1); leading zeros do not count. No exponent, no grouping, "." only.
std::optional<int32_t> textToInt32(std::string_view text);
std::optional<int16_t> textToInt16(std::string_view text);

// Decimal text as a double, for numeric equality tests ("1" and "1.0" both equal 1).
std::optional<double> textToNumber(std::string_view text);

// "true"/"false" in any letter case, or a number (0 false, anything else true).
std::optional<bool> textToBoolean(std::string_view text);

// Decimal text of an integer: optional minus sign and digits, nothing else.
std::string integerToText(int64_t value);

// Plain decimal notation, at most 15 significant digits, no trailing zeros, no
// grouping, no exponent; a negative zero is written "0". Store texts use ".",
// numbers shown to the user the locale's separator. A value that is not a
// finite number is written "NaN", "Infinity" or "-Infinity", which no reader accepts.
std::string numberToText(double value, std::string_view decimalSeparator = ".");

}  // namespace kuvell
