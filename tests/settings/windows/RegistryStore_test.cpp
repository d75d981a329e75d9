// SPDX-License-Identifier: MIT
// The store's Windows backend over a registry key of the test's own.
#include "settings/RegistryStore.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kuvell {
namespace {

namespace keys = settingkeys;

TEST(RegistryStore, KeysLiveInTheirSectionsAndBatchesLandInOrder)
{
    const wchar_t* testKey = L"Software\\kuvell store test";
    RegDeleteTreeW(HKEY_CURRENT_USER, testKey);
    RegistryStore store("Software\\kuvell store test");
    EXPECT_FALSE(store.batchesAreAtomic());
    EXPECT_EQ(store.location(), "HKEY_CURRENT_USER\\Software\\kuvell store test");
    EXPECT_EQ(RegistryStore().location(), "HKEY_CURRENT_USER\\Software\\kuvell");

    EXPECT_EQ(readValue(store, keys::connectionSpeed), 1024000) << "the default when absent";
    const StoreChange batch[] = {changeOf(keys::downloadTotal, "42"),
                                 changeOf(keys::installDate, ""),
                                 changeOf(keys::transparencyLevel, "3")};
    ASSERT_TRUE(store.writeTexts(batch));
    EXPECT_EQ(readValue(store, keys::downloadTotal), 42);
    EXPECT_EQ(store.readText(keys::installDate.name), "") << "empty, not absent";
    EXPECT_EQ(readValue(store, keys::transparencyLevel), 3);

    // Where the keys are, by the registry's own calls: sections as sub keys.
    wchar_t data[16];
    DWORD bytes = sizeof data;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\kuvell store test\\setting", L"DLtot",
                           RRF_RT_REG_SZ, nullptr, data, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"42");

    const StoreChange broken[] = {changeOf(keys::uploadTotal, "7"),
                                  changeOf(keys::windowLeft, std::string("1\0", 2))};
    const Result written = store.writeTexts(broken);
    EXPECT_FALSE(written);
    EXPECT_NE(written.reason.find("setting, value windowsposx"), std::string::npos);
    EXPECT_EQ(store.readText(keys::uploadTotal.name), std::nullopt);
    RegDeleteTreeW(HKEY_CURRENT_USER, testKey);
}

TEST(RegistryStore, ARemovedValueReadsAbsentAndRemovingWhatIsNotThereSucceeds)
{
    const wchar_t* testKey = L"Software\\kuvell removal test";
    RegDeleteTreeW(HKEY_CURRENT_USER, testKey);
    RegistryStore store("Software\\kuvell removal test");
    EXPECT_TRUE(store.removeText(keys::measuredInterface.name)) << "no key at all";
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, testKey, 0, KEY_READ, &created), ERROR_SUCCESS)
        << "a removal creates nothing";

    const StoreChange batch[] = {changeOf(keys::measuredInterface, "eth0"),
                                 changeOf(keys::jumpLimit, "5000")};
    ASSERT_TRUE(store.writeTexts(batch));
    ASSERT_TRUE(store.removeText(keys::measuredInterface.name));
    EXPECT_EQ(store.readText(keys::measuredInterface.name), std::nullopt);
    EXPECT_EQ(store.readText(keys::jumpLimit.name), "5000");
    EXPECT_TRUE(store.removeText(keys::measuredInterface.name)) << "the value is gone already";
    EXPECT_FALSE(store.removeText({"options", std::string_view("a\0b", 3)}));
    RegDeleteTreeW(HKEY_CURRENT_USER, testKey);
}

}  // namespace
}  // namespace kuvell
