// SPDX-License-Identifier: MIT
#pragma once
// Where Kuvell keeps what it remembers between runs: texts by section and key.
// The INI file on Linux and the registry on Windows are backends of it; the
// rules that read and write it know only this interface and the key table.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Result.h"
#include "settings/core/SettingKeys.h"

namespace kuvell {

struct StoreChange
{
    KeyName key;
    std::string text;  // UTF-8
};

class KeyValueStore
{
  public:
    virtual ~KeyValueStore() = default;

    // The stored text (also when empty), or nullopt when the key is absent or
    // the store cannot be read. Reading never creates anything.
    virtual std::optional<std::string> readText(KeyName key) const = 0;

    // Stores every text as one update; on failure the reason says why.
    virtual Result writeTexts(std::span<const StoreChange> changes) = 0;

    // Removes the key, so that a read finds it absent again. A key that is
    // already absent is a success and writes nothing.
    virtual Result removeText(KeyName key) = 0;

    // Where the settings live, for messages (a file name, a registry key).
    virtual std::string location() const = 0;

    // True when a batch lands whole or not at all, whenever the process dies.
    virtual bool batchesAreAtomic() const = 0;
};

// The stored text, or the key's default when it is absent.
std::string readTextOrDefault(const KeyValueStore& store, KeyName key,
                              std::string_view defaultText);

template <typename Value>
std::string readTextOrDefault(const KeyValueStore& store, const SettingKey<Value>& key)
{
    return readTextOrDefault(store, key.name, key.defaultText);
}

// The stored text (or the default) converted; nullopt when it does not convert.
template <typename Value>
std::optional<Value> readValue(const KeyValueStore& store, const SettingKey<Value>& key)
{
    return key.convert(readTextOrDefault(store, key));
}

// One guarded read: `target` changes only when the text converts.
template <typename Value, typename Target>
void readInto(const KeyValueStore& store, const SettingKey<Value>& key, Target& target)
{
    if (std::optional<Value> value = readValue(store, key)) target = std::move(*value);
}

template <typename Value>
StoreChange changeOf(const SettingKey<Value>& key, std::string text)
{
    return {key.name, std::move(text)};
}

template <typename Value>
Result writeText(KeyValueStore& store, const SettingKey<Value>& key, std::string text)
{
    const StoreChange change = changeOf(key, std::move(text));
    return store.writeTexts(std::span<const StoreChange>(&change, 1));
}

// "section/key, section/key": the keys of a batch, for messages.
std::string keyNames(std::span<const StoreChange> changes);

}  // namespace kuvell
