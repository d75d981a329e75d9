// SPDX-License-Identifier: MIT
// Against the registry of the Windows (or wine) the test runs on.
#include "platform/RunValue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

namespace kuvell {
namespace {

// The value as the registry reads it back; nullopt when it is missing.
std::optional<std::wstring> readValue(HKEY root, std::wstring_view subKey, std::wstring_view name)
{
    wchar_t data[1024];
    DWORD bytes = sizeof data;
    DWORD type = 0;
    if (RegGetValueW(root, std::wstring(subKey).c_str(), std::wstring(name).c_str(), RRF_RT_ANY,
                     &type, data, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    return std::wstring(data);
}

DWORD valueCount(HKEY root, std::wstring_view subKey)
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(root, std::wstring(subKey).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    return count;
}

TEST(RunValue, WrittenReadBackRewrittenAndRemoved)
{
    const auto machine = RegistryRoot::LocalMachine;
    ASSERT_TRUE(deleteRunValue(machine, kRunSubKey, kRunValueName));
    const DWORD before = valueCount(HKEY_LOCAL_MACHINE, kRunSubKey);

    const std::wstring path = executablePath();
    ASSERT_TRUE(writeRunValue(machine, kRunSubKey, kRunValueName, path));
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, kRunSubKey, L"kuvell"), path) << "any letter case";

    // The executable moved to a folder outside the system code page, then ticked again.
    const std::wstring moved = L"C:\\Program Files\\Kuvell Ωmega 网络\\kuvell.exe";
    ASSERT_TRUE(writeRunValue(machine, kRunSubKey, kRunValueName, moved));
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, kRunSubKey, kRunValueName), moved);
    EXPECT_EQ(valueCount(HKEY_LOCAL_MACHINE, kRunSubKey), before + 1) << "one value";

    EXPECT_TRUE(deleteRunValue(machine, kRunSubKey, kRunValueName));
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, kRunSubKey, kRunValueName), std::nullopt);
    EXPECT_EQ(valueCount(HKEY_LOCAL_MACHINE, kRunSubKey), before);
    // Removing what is not there changes nothing and is no failure.
    EXPECT_TRUE(deleteRunValue(machine, kRunSubKey, kRunValueName));
    EXPECT_TRUE(deleteRunValue(machine, L"Software\\Kuvell test\\no such key", kRunValueName));
    EXPECT_EQ(valueCount(HKEY_LOCAL_MACHINE, kRunSubKey), before);
}

TEST(RunValue, RefusalsAreReportedAndChangeNothing)
{
    // A key the registry will not create: a lasting key under one that lives
    // only until the system restarts.
    const std::wstring parent = L"Software\\Kuvell test volatile";
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, parent.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    const std::wstring refused = parent + L"\\Run";
    EXPECT_FALSE(writeRunValue(RegistryRoot::CurrentUser, refused, kRunValueName, L"C:\\k.exe"));
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, refused, kRunValueName), std::nullopt);
    RegCloseKey(volatileKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str());

    // A NUL would cut the text short: another key, value or path than asked for.
    using namespace std::string_view_literals;
    const auto user = RegistryRoot::CurrentUser;
    EXPECT_FALSE(writeRunValue(user, L"Software\0Other"sv, kRunValueName, L"C:\\k.exe"));
    EXPECT_FALSE(writeRunValue(user, kRunSubKey, L"Kuvell\0x"sv, L"C:\\k.exe"));
    EXPECT_FALSE(writeRunValue(user, kRunSubKey, kRunValueName, L"C:\\k.exe\0 --evil"sv));
    EXPECT_FALSE(deleteRunValue(user, kRunSubKey, L"Kuvell\0x"sv));
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, kRunSubKey, kRunValueName), std::nullopt);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, L"Software", kRunValueName), std::nullopt);
}

TEST(RunValue, ExecutablePathIsTheRunningProgram)
{
    const std::wstring path = executablePath();
    EXPECT_TRUE(path.ends_with(L"\\test_platform_windows.exe")) << path.size();
    EXPECT_EQ(path.find(L":\\"), 1u) << "a full path from a drive";
}

}  // namespace
}  // namespace kuvell
