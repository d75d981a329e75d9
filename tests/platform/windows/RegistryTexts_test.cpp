// SPDX-License-Identifier: MIT
// Against the registry of the Windows (or wine) the test runs on, below a key
// of the test's own: Kuvell's own settings are never touched.
#include "platform/RegistryTexts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/WideText.h"

namespace kuvell {
namespace {

const std::wstring kTestKey = L"Software\\kuvell registry test";

class RegistryTextsTest : public ::testing::Test
{
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }

    // A value as another program might leave it: any type, any bytes.
    static void plant(const std::wstring& section, const std::wstring& name, DWORD type,
                      const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (kTestKey + L"\\" + section).c_str(), 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    RegistryTexts texts_{"Software\\kuvell registry test"};
};

TEST_F(RegistryTextsTest, TextsRoundTripAndAbsentIsNotEmpty)
{
    EXPECT_EQ(texts_.read("setting", "DLtot"), std::nullopt) << "no key yet";
    const std::string foreign = "Kuvell Ωmega 网络 \xF0\x9F\x93\xB6 fin";  // a surrogate pair too
    const RegistryText batch[] = {
        {"setting", "DLtot", "123"}, {"setting", "empty", ""}, {"options", "installdate", foreign}};
    ASSERT_TRUE(texts_.write(batch));
    EXPECT_EQ(texts_.read("setting", "DLtot"), "123");
    EXPECT_EQ(texts_.read("setting", "empty"), "");
    EXPECT_EQ(texts_.read("options", "installdate"), foreign);
    EXPECT_EQ(texts_.read("options", "DLtot"), std::nullopt) << "sections are apart";
    EXPECT_EQ(texts_.read("setting", "missing"), std::nullopt);
    EXPECT_EQ(texts_.read("nosection", "DLtot"), std::nullopt);

    const RegistryText again[] = {{"setting", "DLtot", "-5"}};
    ASSERT_TRUE(texts_.write(again));
    EXPECT_EQ(texts_.read("setting", "DLtot"), "-5") << "replaced";
    EXPECT_EQ(texts_.location(), "HKEY_CURRENT_USER\\Software\\kuvell registry test");
}

TEST_F(RegistryTextsTest, ValuesKuvellDidNotWriteReadAsAbsentOrWithinTheirBytes)
{
    const DWORD number = 7;
    plant(L"setting", L"dword", REG_DWORD, &number, sizeof number);
    const wchar_t expandable[] = L"%TEMP%";
    plant(L"setting", L"expand", REG_EXPAND_SZ, expandable, sizeof expandable);
    EXPECT_EQ(texts_.read("setting", "dword"), std::nullopt);
    EXPECT_EQ(texts_.read("setting", "expand"), std::nullopt);

    // The longest text read, with and without its NUL, and one character more.
    std::wstring large(kLargestRegistryCharacters, L'x');
    const auto largeBytes = static_cast<DWORD>(large.size() * sizeof(wchar_t));
    plant(L"setting", L"largest", REG_SZ, large.c_str(), largeBytes + sizeof(wchar_t));
    plant(L"setting", L"largestUnended", REG_SZ, large.data(), largeBytes);
    large.push_back(L'x');
    plant(L"setting", L"oversized", REG_SZ, large.data(), largeBytes + sizeof(wchar_t));
    plant(L"setting", L"oversizedEnded", REG_SZ, large.c_str(), largeBytes + 2 * sizeof(wchar_t));
    EXPECT_EQ(texts_.read("setting", "largest").value_or("").size(), kLargestRegistryCharacters);
    EXPECT_EQ(texts_.read("setting", "largestUnended").value_or("").size(),
              kLargestRegistryCharacters);
    EXPECT_EQ(texts_.read("setting", "oversized"), std::nullopt);
    EXPECT_EQ(texts_.read("setting", "oversizedEnded"), std::nullopt);
    std::wstring huge(1 << 20, L'y');
    plant(L"setting", L"huge", REG_SZ, huge.c_str(), static_cast<DWORD>(huge.size() * 2));
    EXPECT_EQ(texts_.read("setting", "huge"), std::nullopt);

    // No final NUL, an odd byte count (half a character at the end), a NUL inside.
    plant(L"setting", L"unended", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    plant(L"setting", L"odd", REG_SZ, L"abc", 2 * sizeof(wchar_t) + 1);
    plant(L"setting", L"inner", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t));
    plant(L"setting", L"nothing", REG_SZ, L"", 0);
    EXPECT_EQ(texts_.read("setting", "unended"), "abc");
    EXPECT_EQ(texts_.read("setting", "odd"), "ab");
    EXPECT_EQ(texts_.read("setting", "inner"), "ab");
    EXPECT_EQ(texts_.read("setting", "nothing"), "");

    const wchar_t loneSurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    plant(L"setting", L"surrogate", REG_SZ, loneSurrogate, sizeof loneSurrogate);
    EXPECT_EQ(texts_.read("setting", "surrogate"), std::nullopt);
}

TEST_F(RegistryTextsTest, BadTextsFailTheWholeListAndRefusalsNameTheKey)
{
    const std::string large(kLargestRegistryCharacters + 1, 'x');
    const std::string invalid = "caf\xC3";  // a sequence cut short
    const std::string withNul("a\0b", 3);
    for (const std::string& bad : {invalid, withNul, large}) {
        const RegistryText batch[] = {{"setting", "first", "1"}, {"setting", "bad", bad}};
        const Result written = texts_.write(batch);
        EXPECT_FALSE(written);
        EXPECT_NE(written.reason.find("registry test\\setting, value bad"), std::string::npos)
            << written.reason;
        EXPECT_EQ(texts_.read("setting", "first"), std::nullopt) << "nothing written";
    }
    const std::string longestText = large.substr(1);
    const RegistryText longest[] = {{"setting", "longest", longestText}};
    ASSERT_TRUE(texts_.write(longest));
    EXPECT_EQ(texts_.read("setting", "longest"), longestText);
    const RegistryText badName[] = {{"setting", invalid, "1"}};
    EXPECT_FALSE(texts_.write(badName));
    const RegistryText noSection[] = {{"", "x", "1"}};
    EXPECT_FALSE(texts_.write(noSection));

    // The registry will not create a lasting key under one that lives only
    // until the system restarts: the texts before it stay, the rest are not tried.
    const RegistryText first[] = {{"setting", "first", "0"}};
    ASSERT_TRUE(texts_.write(first));
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (kTestKey + L"\\gone").c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    const RegistryText refused[] = {
        {"setting", "before", "1"}, {"gone\\setting", "DLtot", "2"}, {"setting", "after", "3"}};
    const Result written = texts_.write(refused);
    EXPECT_FALSE(written);
    EXPECT_NE(written.reason.find("HKEY_CURRENT_USER\\Software\\kuvell registry test\\gone\\"
                                  "setting, value DLtot: "),
              std::string::npos)
        << written.reason;
    EXPECT_NE(written.reason.find("(error "), std::string::npos) << written.reason;
    EXPECT_EQ(texts_.read("setting", "before"), "1");
    EXPECT_EQ(texts_.read("setting", "after"), std::nullopt);
}

TEST(WideText, ConvertsBothWaysAndRefusesInvalidText)
{
    EXPECT_EQ(wideFromUtf8("Ω网\xF0\x9F\x93\xB6"), std::wstring(L"Ω网\U0001F4F6"));
    EXPECT_EQ(utf8FromWide(L"Ω网\U0001F4F6"), "Ω网\xF0\x9F\x93\xB6");
    EXPECT_EQ(wideFromUtf8(""), std::wstring());
    EXPECT_EQ(utf8FromWide(L""), std::string());
    EXPECT_EQ(wideFromUtf8("\xC0\xAF"), std::nullopt) << "overlong";
    EXPECT_EQ(wideFromUtf8("\xED\xA0\x80"), std::nullopt) << "a surrogate in UTF-8";
    EXPECT_EQ(wideFromUtf8("ab\xFF"), std::nullopt);
    EXPECT_EQ(utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xDC00))), std::nullopt);
    EXPECT_EQ(wideFromUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3)) << "kept, not cut";
}

}  // namespace
}  // namespace kuvell
