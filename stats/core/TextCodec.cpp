// SPDX-License-Identifier: MIT
#include "stats/core/TextCodec.h"

#include <optional>

namespace kuvell {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one code point at text[pos] and advances pos; nullopt (pos advanced
// by one byte) for a malformed, overlong or surrogate sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<uint8_t>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    struct LeadByte
    {
        uint8_t mask, value;
        std::size_t extra;
        char32_t minimum;
    };
    static constexpr LeadByte kLeads[] = {
        {0xE0, 0xC0, 1, 0x80}, {0xF0, 0xE0, 2, 0x800}, {0xF8, 0xF0, 3, 0x10000}};
    const LeadByte* kind = nullptr;
    for (const LeadByte& candidate : kLeads) {
        if ((lead & candidate.mask) == candidate.value) {
            kind = &candidate;
        }
    }
    if (kind == nullptr) {
        return std::nullopt;
    }
    const std::size_t extra = kind->extra;
    char32_t c = lead & static_cast<uint8_t>(~kind->mask);
    if (text.size() - pos < extra) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < extra; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < kind->minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += extra;
    return c;
}

}  // namespace

std::string latin1ToUtf8(std::span<const uint8_t> bytes)
{
    // Written through a pointer: every snapshot converts 768 bytes a row.
    std::string out(2 * bytes.size(), '\0');
    char* next = out.data();
    for (const uint8_t b : bytes) {
        if (b < 0x80) {
            *next++ = static_cast<char>(b);
        } else {
            *next++ = static_cast<char>(0xC0 | (b >> 6));
            *next++ = static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
    return out;
}

std::string utf8ToLatin1(std::string_view text)
{
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto c = nextCodePoint(text, pos);
        out += (c && *c <= 0xFF) ? static_cast<char>(*c) : '?';
    }
    return out;
}

std::string utf16LeToUtf8(std::span<const uint8_t> bytes)
{
    std::string out;
    const std::size_t units = bytes.size() / 2;
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char16_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit);
    }
    return out;
}

namespace {

// The end of the character that starts at `at` (a stray continuation byte
// there counts as one).
std::size_t nextCharacterEnd(std::string_view text, std::size_t at)
{
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u) ++at;
    return at;
}

}  // namespace

std::size_t utf8Length(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); at = nextCharacterEnd(text, at)) ++characters;
    return characters;
}

std::string_view utf8Prefix(std::string_view text, std::size_t characters)
{
    std::size_t kept = 0;
    for (; kept < text.size() && characters > 0; --characters) kept = nextCharacterEnd(text, kept);
    return text.substr(0, kept);
}

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = nextCodePoint(text, pos).value_or(kReplacement);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace kuvell
