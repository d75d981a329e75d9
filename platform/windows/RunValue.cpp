// SPDX-License-Identifier: MIT
#include "platform/RunValue.h"

#include <windows.h>

#include <string>

#include "platform/SystemReason.h"
#include "platform/WideText.h"
#include "platform/windows/RegistryKey.h"

namespace kuvell {
namespace {

HKEY rootKey(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

const Result kNulInText = Result::failure("a text holds a NUL character");

Result registryResult(LONG status)
{
    if (status == ERROR_SUCCESS) {
        return Result::success();
    }
    return Result::failure("the registry refused: " + systemReason(static_cast<DWORD>(status)));
}

}  // namespace

Result writeRunValue(RegistryRoot root, std::wstring_view subKey, std::wstring_view valueName,
                     std::wstring_view data)
{
    if (holdsNul(subKey) || holdsNul(valueName) || holdsNul(data)) {
        return kNulInText;
    }
    RegistryKey key;
    if (const LONG created =
            RegCreateKeyExW(rootKey(root), std::wstring(subKey).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.out(), nullptr);
        created != ERROR_SUCCESS) {
        return registryResult(created);
    }
    const std::wstring text(data);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return registryResult(RegSetValueExW(key.get(), std::wstring(valueName).c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(text.c_str()), bytes));
}

Result deleteRunValue(RegistryRoot root, std::wstring_view subKey, std::wstring_view valueName)
{
    if (holdsNul(subKey) || holdsNul(valueName)) {
        return kNulInText;
    }
    RegistryKey key;
    const LONG opened =
        RegOpenKeyExW(rootKey(root), std::wstring(subKey).c_str(), 0, KEY_SET_VALUE, key.out());
    if (opened == ERROR_FILE_NOT_FOUND) {
        return Result::success();
    }
    if (opened != ERROR_SUCCESS) {
        return registryResult(opened);
    }
    const LONG deleted = RegDeleteValueW(key.get(), std::wstring(valueName).c_str());
    return registryResult(deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted);
}

std::wstring executablePath()
{
    // Long paths can exceed MAX_PATH; a full buffer means the path was cut.
    for (DWORD capacity = MAX_PATH; capacity < 65536; capacity *= 2) {
        std::wstring path(capacity, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

}  // namespace kuvell
