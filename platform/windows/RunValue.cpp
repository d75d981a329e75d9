// SPDX-License-Identifier: MIT
#include "platform/RunValue.h"

#include <windows.h>

namespace kuvell {
namespace {

HKEY rootKey(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

bool holdsNul(std::wstring_view text) { return text.find(L'\0') != std::wstring_view::npos; }

class OpenKey
{
  public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey()
    {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace

bool writeRunValue(RegistryRoot root, std::wstring_view subKey, std::wstring_view valueName,
                   std::wstring_view data)
{
    if (holdsNul(subKey) || holdsNul(valueName) || holdsNul(data)) {
        return false;
    }
    OpenKey key;
    if (RegCreateKeyExW(rootKey(root), std::wstring(subKey).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.out(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring text(data);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), std::wstring(valueName).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool deleteRunValue(RegistryRoot root, std::wstring_view subKey, std::wstring_view valueName)
{
    if (holdsNul(subKey) || holdsNul(valueName)) {
        return false;
    }
    OpenKey key;
    const LONG opened =
        RegOpenKeyExW(rootKey(root), std::wstring(subKey).c_str(), 0, KEY_SET_VALUE, key.out());
    if (opened == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (opened != ERROR_SUCCESS) {
        return false;
    }
    const LONG deleted = RegDeleteValueW(key.get(), std::wstring(valueName).c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
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
