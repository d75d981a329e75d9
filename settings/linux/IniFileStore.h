// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's per-user store on Linux: an INI file whose path main computes,
// sections "options" and "setting", every value text. The file is opened,
// locked and replaced by Kuvell's own rules (platform/RegularFile.h,
// platform/FileLock.h); the INI text itself is read in one pass, and only
// lines that are not a literal "key=text" go to a full INI codec.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "settings/core/KeyValueStore.h"

namespace kuvell {

// The INI reader and writer the store defers to: its reading decides what the
// harder lines (quotes, escapes, lists, line continuations) hold, and its
// spelling is what the store writes.
class IniCodec
{
  public:
    using Values = std::unordered_map<std::string, std::string>;  // UTF-8 texts by "section/key"

    virtual ~IniCodec() = default;
    // Every value the bytes hold, or nullopt and the problem.
    virtual std::optional<Values> decode(std::string_view bytes, std::string& problem) const = 0;
    // The bytes with the changes made, or nullopt and the problem.
    virtual std::optional<std::string> encode(std::string_view bytes,
                                              std::span<const StoreChange> changes,
                                              std::string& problem) const = 0;
    // The bytes without the key, or nullopt and the problem.
    virtual std::optional<std::string> encodeRemoval(std::string_view bytes, KeyName key,
                                                     std::string& problem) const = 0;
};

class IniFileStore : public KeyValueStore
{
  public:
    // A store file is a few hundred bytes; one past this is not read or replaced.
    static constexpr std::size_t kMaxFileBytes = 8 * 1024 * 1024;
    // Gets what the store could not read or save, a line each.
    using Warning = std::function<void(std::string_view message)>;

    // The codec must outlive the store.
    IniFileStore(std::string filePath, const IniCodec& codec, Warning warning);
    ~IniFileStore() override;

    // A store that cannot be read (not a regular file, too large, no
    // permission, another encoding) reads as empty.
    std::optional<std::string> readText(KeyName key) const override;
    // One atomic replacement of the file: after a crash at any moment it holds
    // all of the changes or none. On failure the previous file is left as it was.
    Result writeTexts(std::span<const StoreChange> changes) override;
    // The same atomic replacement, of a file that holds the key.
    Result removeText(KeyName key) override;
    std::string location() const override { return filePath_; }
    bool batchesAreAtomic() const override { return true; }

    struct Contents;  // a file's bytes and the values they hold

  private:
    std::shared_ptr<const Contents> currentContents() const;
    // Edits the file's contents under its lock: `edit` gives the new contents,
    // the contents it was given when nothing is to change, or null and the problem.
    using Edit = std::function<std::shared_ptr<const Contents>(
        const std::shared_ptr<const Contents>& current, std::string& problem)>;
    Result save(const Edit& edit);

    std::string filePath_;
    const IniCodec& codec_;
    Warning warning_;
    // The last contents read and what they hold, so reading a dozen keys
    // parses the file once.
    mutable std::shared_ptr<const Contents> contents_;
    mutable std::string lastReadProblem_;  // reported once, not at every key
};

}  // namespace kuvell
