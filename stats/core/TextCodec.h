// SPDX-License-Identifier: MIT
#pragma once
// The text encodings the interface table uses: its 8-bit texts are in the
// system's code page (Latin-1 on Linux: one byte, one character) and its names
// in UTF-16LE. Kuvell keeps every text as UTF-8.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kuvell {

// Every byte becomes one character, NUL bytes included.
std::string latin1ToUtf8(std::span<const uint8_t> bytes);

// Characters above U+00FF and malformed UTF-8 become '?', as a code-page
// conversion substitutes what it cannot represent.
std::string utf8ToLatin1(std::string_view text);

// UTF-16LE code units up to the first NUL unit (or the end; an odd last byte is
// ignored). Unpaired surrogates become U+FFFD.
std::string utf16LeToUtf8(std::span<const uint8_t> bytes);

// Characters of UTF-8 text, counted as a reader sees them: a continuation
// byte never starts one.
std::size_t utf8Length(std::string_view text);
// The first `characters` characters of the text, never cut inside one.
std::string_view utf8Prefix(std::string_view text, std::size_t characters);

// Malformed UTF-8 becomes U+FFFD. No terminator is added.
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace kuvell
