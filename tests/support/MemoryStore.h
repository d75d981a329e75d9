// SPDX-License-Identifier: MIT
#pragma once
// A store in memory, for the rules' tests: texts by section and key, every
// write recorded, and a switch that makes writes fail.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/core/KeyValueStore.h"

namespace kuvell::testsupport {

class MemoryStore : public KeyValueStore
{
  public:
    using Texts = std::map<std::pair<std::string, std::string>, std::string>;

    std::optional<std::string> readText(KeyName key) const override
    {
        const auto found = texts.find({std::string(key.section), std::string(key.name)});
        if (found == texts.end()) return std::nullopt;
        return found->second;
    }

    Result writeTexts(std::span<const StoreChange> changes) override
    {
        batches.emplace_back(changes.begin(), changes.end());
        if (!failure.empty()) return Result::failure(failure);
        for (const StoreChange& change : changes) {
            texts[{std::string(change.key.section), std::string(change.key.name)}] = change.text;
        }
        return Result::success();
    }

    Result removeText(KeyName key) override
    {
        removals.push_back(key);
        if (!failure.empty()) return Result::failure(failure);
        texts.erase({std::string(key.section), std::string(key.name)});
        return Result::success();
    }

    std::string location() const override { return "memory"; }
    bool batchesAreAtomic() const override { return true; }

    // The text under section/key, or "(absent)".
    std::string at(std::string_view section, std::string_view key) const
    {
        return readText({section, key}).value_or("(absent)");
    }

    Texts texts;
    std::vector<std::vector<StoreChange>> batches;  // every write, in order
    std::vector<KeyName> removals;                  // every removal, in order
    std::string failure;                            // not empty: every write fails with it
};

}  // namespace kuvell::testsupport
