// SPDX-License-Identifier: MIT
#include "settings/core/KeyValueStore.h"

namespace kuvell {

std::string readTextOrDefault(const KeyValueStore& store, KeyName key, std::string_view defaultText)
{
    return store.readText(key).value_or(std::string(defaultText));
}

std::string keyNames(std::span<const StoreChange> changes)
{
    std::string names;
    for (const StoreChange& change : changes) {
        if (!names.empty()) names += ", ";
        names.append(change.key.section).append("/").append(change.key.name);
    }
    return names;
}

}  // namespace kuvell
