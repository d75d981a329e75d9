// SPDX-License-Identifier: MIT
#include "stats/core/TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kuvell {
namespace {

std::vector<uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(TextCodec, Latin1IsOneCharacterPerByteIncludingNul)
{
    EXPECT_EQ(latin1ToUtf8(bytes(std::string("a\0\xE9\xFF\x80", 5))),
              std::string("a\0\xC3\xA9\xC3\xBF\xC2\x80", 8));
    EXPECT_EQ(latin1ToUtf8({}), "");
}

TEST(TextCodec, Utf8ToLatin1SubstitutesWhatItCannotRepresent)
{
    EXPECT_EQ(utf8ToLatin1("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(utf8ToLatin1("\xE2\x82\xAC"), "?") << "the euro sign is not Latin-1";
    EXPECT_EQ(utf8ToLatin1("\xF0\x9F\x98\x80!"), "?!");
    EXPECT_EQ(utf8ToLatin1("a\xC3"), "a?") << "cut sequence at the end";
    EXPECT_EQ(utf8ToLatin1("\xC0\xAF"), "??") << "overlong form";
    EXPECT_EQ(utf8ToLatin1("\xED\xA0\x80"), "???") << "encoded surrogate";
    EXPECT_EQ(utf8ToLatin1("\xF4\x90\x80\x80"), "????") << "beyond U+10FFFF";
    EXPECT_EQ(utf8ToLatin1(std::string("\0x", 2)), std::string("\0x", 2));
}

TEST(TextCodec, Utf16LeStopsAtTheFirstNulAndPairsSurrogates)
{
    EXPECT_EQ(utf16LeToUtf8(bytes(std::string("e\0t\0h\0\0\0x\0", 10))), "eth");
    EXPECT_EQ(utf16LeToUtf8(bytes(std::string("\xE9\0\xAC\x20", 4))), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(utf16LeToUtf8(bytes(std::string("\x3D\xD8\x00\xDE", 4))), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16LeToUtf8(bytes(std::string("\x3D\xD8"
                                              "a\0",
                                              4))),
              "\xEF\xBF\xBD"
              "a")
        << "a high surrogate without its low half";
    EXPECT_EQ(utf16LeToUtf8(bytes(std::string("\x00\xDE", 2))), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16LeToUtf8(bytes("\x3D\xD8")), "\xEF\xBF\xBD") << "pair cut by the end";
    EXPECT_EQ(utf16LeToUtf8(bytes("ab\x63")), "\xE6\x89\xA1") << "odd last byte ignored";
}

TEST(TextCodec, Utf8ToUtf16RoundTripsThroughUtf16Le)
{
    const std::string text = "w\xC3\xA9n\xF0\x9F\x98\x80";
    const std::u16string units = utf8ToUtf16(text);
    EXPECT_EQ(units, (std::u16string{u'w', u'\u00E9', u'n', 0xD83D, 0xDE00}));
    std::vector<uint8_t> le;
    for (const char16_t u : units) {
        le.push_back(static_cast<uint8_t>(u & 0xFF));
        le.push_back(static_cast<uint8_t>(u >> 8));
    }
    EXPECT_EQ(utf16LeToUtf8(le), text);
    EXPECT_EQ(utf8ToUtf16("\xFF"), u"\uFFFD");
}

}  // namespace
}  // namespace kuvell
