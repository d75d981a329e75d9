// SPDX-License-Identifier: MIT
#include "platform/RegistryTexts.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/SystemReason.h"
#include "platform/WideText.h"
#include "platform/windows/RegistryKey.h"

namespace kuvell {
namespace {

// The section's key below the application's; nullopt when a name cannot be one.
std::optional<std::wstring> sectionKey(std::string_view applicationKey, std::string_view section)
{
    std::optional<std::wstring> key =
        wideFromUtf8(std::string(applicationKey) + "\\" + std::string(section));
    if (!key || section.empty() || holdsNul(*key)) {
        return std::nullopt;
    }
    return key;
}

struct PreparedText
{
    std::wstring key;
    std::wstring name;
    std::wstring text;
    std::string where;  // for messages
};

}  // namespace

RegistryTexts::RegistryTexts(std::string applicationKey)
    : applicationKey_(std::move(applicationKey))
{
}

std::string RegistryTexts::location() const { return "HKEY_CURRENT_USER\\" + applicationKey_; }

std::optional<std::string> RegistryTexts::read(std::string_view section,
                                               std::string_view name) const
{
    const std::optional<std::wstring> subKey = sectionKey(applicationKey_, section);
    const std::optional<std::wstring> valueName = wideFromUtf8(name);
    if (!subKey || !valueName || holdsNul(*valueName)) {
        return std::nullopt;
    }
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey->c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The type and size first, so that nothing much larger than the limit is
    // ever fetched. The size may count a NUL that the registry adds to a value
    // stored without one (wine does).
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), valueName->c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ || bytes > kLargestRegistryText + sizeof(wchar_t)) {
        return std::nullopt;
    }
    // The registry never writes past the size it is given; a value that grew
    // since the size was asked fails with ERROR_MORE_DATA and reads as absent.
    std::wstring data((bytes + 1) / sizeof(wchar_t), L'\0');
    DWORD fetched = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), valueName->c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &fetched) != ERROR_SUCCESS ||
        type != REG_SZ || fetched > data.size() * sizeof(wchar_t)) {
        return std::nullopt;
    }
    // Whole characters only (an odd byte count leaves half of one), up to the
    // first NUL: a value need not end in one.
    std::wstring_view text(data.data(), fetched / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    if (text.size() > kLargestRegistryCharacters) {
        return std::nullopt;
    }
    return utf8FromWide(text);
}

Result RegistryTexts::write(std::span<const RegistryText> texts)
{
    std::vector<PreparedText> prepared;
    prepared.reserve(texts.size());
    for (const RegistryText& entry : texts) {
        PreparedText next;
        next.where =
            location() + "\\" + std::string(entry.section) + ", value " + std::string(entry.name);
        const std::optional<std::wstring> key = sectionKey(applicationKey_, entry.section);
        const std::optional<std::wstring> name = wideFromUtf8(entry.name);
        const std::optional<std::wstring> text = wideFromUtf8(entry.text);
        if (!key || !name || !text) {
            return Result::failure(next.where + ": not a valid UTF-8 text");
        }
        if (holdsNul(*name) || holdsNul(*text)) {
            return Result::failure(next.where + ": a NUL character, which would cut the text");
        }
        if (text->size() > kLargestRegistryCharacters) {
            return Result::failure(next.where + ": longer than Kuvell reads back");
        }
        next.key = *key;
        next.name = *name;
        next.text = *text;
        prepared.push_back(std::move(next));
    }
    for (const PreparedText& entry : prepared) {
        RegistryKey key;
        LONG status =
            RegCreateKeyExW(HKEY_CURRENT_USER, entry.key.c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.out(), nullptr);
        if (status == ERROR_SUCCESS) {
            const auto bytes = static_cast<DWORD>((entry.text.size() + 1) * sizeof(wchar_t));
            status = RegSetValueExW(key.get(), entry.name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(entry.text.c_str()), bytes);
        }
        if (status != ERROR_SUCCESS) {
            return Result::failure(entry.where + ": " + systemReason(static_cast<DWORD>(status)));
        }
    }
    return Result::success();
}

Result RegistryTexts::remove(std::string_view section, std::string_view name)
{
    const std::string where =
        location() + "\\" + std::string(section) + ", value " + std::string(name);
    const std::optional<std::wstring> subKey = sectionKey(applicationKey_, section);
    const std::optional<std::wstring> valueName = wideFromUtf8(name);
    if (!subKey || !valueName || holdsNul(*valueName)) {
        return Result::failure(where + ": not a valid UTF-8 text");
    }
    RegistryKey key;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, subKey->c_str(), 0, KEY_SET_VALUE, key.out());
    if (status == ERROR_SUCCESS) {
        status = RegDeleteValueW(key.get(), valueName->c_str());
    }
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return Result::failure(where + ": " + systemReason(static_cast<DWORD>(status)));
    }
    return Result::success();
}

}  // namespace kuvell
