// SPDX-License-Identifier: MIT
#include "settings/RegistryStore.h"

#include <utility>
#include <vector>

namespace kuvell {

RegistryStore::RegistryStore(std::string applicationKey) : texts_(std::move(applicationKey)) {}

std::optional<std::string> RegistryStore::readText(KeyName key) const
{
    return texts_.read(key.section, key.name);
}

Result RegistryStore::writeTexts(std::span<const StoreChange> changes)
{
    std::vector<RegistryText> texts;
    texts.reserve(changes.size());
    for (const StoreChange& change : changes) {
        texts.push_back({change.key.section, change.key.name, change.text});
    }
    return texts_.write(texts);
}

Result RegistryStore::removeText(KeyName key) { return texts_.remove(key.section, key.name); }

}  // namespace kuvell
