// SPDX-License-Identifier: MIT
#pragma once
// The store on Windows: the current user's registry, below
// HKEY_CURRENT_USER\Software\kuvell one sub key per section and one REG_SZ
// value per key.
#include <string>

#include "platform/RegistryTexts.h"
#include "settings/core/KeyValueStore.h"

namespace kuvell {

inline constexpr std::string_view kRegistryApplicationKey = "Software\\kuvell";

class RegistryStore final : public KeyValueStore
{
  public:
    explicit RegistryStore(std::string applicationKey = std::string(kRegistryApplicationKey));

    std::optional<std::string> readText(KeyName key) const override;
    // The values are written one after another in the batch's order; the
    // registry has no transaction over several values, so a process killed
    // mid-batch leaves the first ones written and the rest as they were.
    Result writeTexts(std::span<const StoreChange> changes) override;
    Result removeText(KeyName key) override;
    std::string location() const override { return texts_.location(); }
    bool batchesAreAtomic() const override { return false; }

  private:
    RegistryTexts texts_;
};

}  // namespace kuvell
