// SPDX-License-Identifier: MIT
#include "settings/core/TextConversions.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kuvell {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isAllDigits(std::string_view text)
{
    for (char c : text)
        if (!isDigit(c)) return false;
    return true;
}

// "&H" (or "&h") followed by hexadecimal digits.
bool hasHexPrefix(std::string_view text)
{
    return text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h');
}

struct DecimalParts
{
    bool negative = false;
    std::string_view whole;     // digits before the point, may be empty
    std::string_view fraction;  // digits after the point, may be empty
};

// [sign] digits [. digits], at least one digit; the text is already trimmed.
std::optional<DecimalParts> splitDecimal(std::string_view text)
{
    DecimalParts parts;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        parts.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    parts.whole = text.substr(0, point);
    if (point != std::string_view::npos) parts.fraction = text.substr(point + 1);
    if (parts.whole.empty() && parts.fraction.empty()) return std::nullopt;
    if (!isAllDigits(parts.whole) || !isAllDigits(parts.fraction)) return std::nullopt;
    return parts;
}

// The digits give the bit pattern of a `bits`-wide two's-complement integer, as
// the classic notation does: at most bits/4 significant digits (leading zeros
// are free), so "&HFFFFFFFF" is -1 for 32 bits and "&HFFFF" is -1 for 16 bits.
std::optional<int64_t> parseHexPattern(std::string_view digits, int bits)
{
    if (digits.empty()) return std::nullopt;
    const std::size_t firstSignificant = digits.find_first_not_of('0');
    const std::string_view significant = firstSignificant == std::string_view::npos
                                             ? std::string_view{}
                                             : digits.substr(firstSignificant);
    if (significant.size() > static_cast<std::size_t>(bits / 4)) return std::nullopt;
    uint64_t pattern = 0;
    if (!significant.empty()) {
        const char* end = significant.data() + significant.size();
        const auto [ptr, ec] = std::from_chars(significant.data(), end, pattern, 16);
        if (ec != std::errc{} || ptr != end) return std::nullopt;
    }
    const uint64_t signBit = uint64_t{1} << (bits - 1);
    const auto value = static_cast<int64_t>(pattern);
    return (pattern & signBit) != 0 ? value - static_cast<int64_t>(signBit << 1) : value;
}

// Decimal magnitude rounded ties-to-even on the exact digits (no detour through
// a double, so "0.50000000000000001" rounds up). nullopt above `limit`.
std::optional<uint64_t> roundedMagnitude(const DecimalParts& parts, uint64_t limit)
{
    uint64_t magnitude = 0;
    for (char c : parts.whole) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
        if (magnitude > limit) return std::nullopt;
    }
    if (!parts.fraction.empty()) {
        const char first = parts.fraction.front();
        const bool beyondHalf = parts.fraction.find_first_not_of('0', 1) != std::string_view::npos;
        const bool roundUp = first > '5' || (first == '5' && (beyondHalf || magnitude % 2 == 1));
        if (roundUp) ++magnitude;
    }
    if (magnitude > limit) return std::nullopt;
    return magnitude;
}

std::optional<int64_t> parseInteger(std::string_view text, int bits)
{
    text = trimBlanks(text);
    if (hasHexPrefix(text)) return parseHexPattern(text.substr(2), bits);

    const std::optional<DecimalParts> parts = splitDecimal(text);
    if (!parts) return std::nullopt;
    const int64_t maxValue = (int64_t{1} << (bits - 1)) - 1;
    const auto limit = static_cast<uint64_t>(maxValue) + 1;  // the most negative value's size
    const std::optional<uint64_t> magnitude = roundedMagnitude(*parts, limit);
    if (!magnitude) return std::nullopt;
    const int64_t value =
        parts->negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
    if (value > maxValue) return std::nullopt;
    return value;
}

std::string trimTrailingZeros(std::string digits)
{
    const std::size_t last = digits.find_last_not_of('0');
    digits.erase(last == std::string::npos ? 0 : last + 1);
    return digits;
}

}  // namespace

std::optional<int32_t> textToInt32(std::string_view text)
{
    const std::optional<int64_t> value = parseInteger(text, 32);
    if (!value) return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::optional<int16_t> textToInt16(std::string_view text)
{
    const std::optional<int64_t> value = parseInteger(text, 16);
    if (!value) return std::nullopt;
    return static_cast<int16_t>(*value);
}

std::optional<double> textToNumber(std::string_view text)
{
    text = trimBlanks(text);
    if (hasHexPrefix(text)) {
        const std::optional<int64_t> value = parseHexPattern(text.substr(2), 32);
        if (!value) return std::nullopt;
        return static_cast<double>(*value);
    }
    const std::optional<DecimalParts> parts = splitDecimal(text);
    if (!parts) return std::nullopt;
    std::string plain = parts->negative ? "-0" : "0";
    plain.append(parts->whole);
    if (!parts->fraction.empty()) plain.append(".").append(parts->fraction);
    double value = 0;
    const char* end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value, std::chars_format::fixed);
    if (ec != std::errc{} || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<bool> textToBoolean(std::string_view text)
{
    const std::string_view trimmed = trimBlanks(text);
    const auto equalsIgnoringCase = [trimmed](std::string_view word) {
        if (trimmed.size() != word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            const char c = trimmed[i];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            if (lower != word[i]) return false;
        }
        return true;
    };
    if (equalsIgnoringCase("true")) return true;
    if (equalsIgnoringCase("false")) return false;
    const std::optional<double> number = textToNumber(trimmed);
    if (!number) return std::nullopt;
    return *number != 0;
}

std::string integerToText(int64_t value)
{
    char buffer[24];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;  // 24 characters hold every 64-bit value
    return std::string(buffer, ptr);
}

std::string numberToText(double value, std::string_view decimalSeparator)
{
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";  // also a negative zero

    // 15 significant digits, correctly rounded: "-d.dddddddddddddde-XXX".
    constexpr int kSignificantDigits = 15;
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific, kSignificantDigits - 1);
    (void)ec;  // 40 characters hold every double in this form
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const bool negative = scientific.front() == '-';
    const std::size_t mantissaStart = negative ? 1 : 0;
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(mantissaStart, exponentMark - mantissaStart))
        if (isDigit(c)) digits.push_back(c);
    digits = trimTrailingZeros(std::move(digits));
    std::string_view exponentText = scientific.substr(exponentMark + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string text = negative ? "-" : "";
    if (exponent < 0) {
        text.append("0").append(decimalSeparator);
        text.append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
        return text;
    }
    const auto wholeLength = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= wholeLength) {
        text.append(digits).append(wholeLength - digits.size(), '0');
        return text;
    }
    text.append(digits, 0, wholeLength).append(decimalSeparator).append(digits, wholeLength);
    return text;
}

}  // namespace kuvell
