// SPDX-License-Identifier: MIT
#pragma once
// Texts in the current user's registry: under HKEY_CURRENT_USER\<application
// key>, one sub key per section and one REG_SZ value per name. Sections, names
// and texts are UTF-8 here and UTF-16 in the registry.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/Result.h"

namespace kuvell {

struct RegistryText
{
    std::string_view section;
    std::string_view name;
    std::string_view text;
};

// The largest text read or written: 64 KiB of UTF-16 with its final NUL.
// Kuvell's texts are a few dozen characters; a larger value was not written
// by Kuvell, and reading it would only cost memory.
inline constexpr std::size_t kLargestRegistryText = 64 * 1024;
inline constexpr std::size_t kLargestRegistryCharacters = kLargestRegistryText / 2 - 1;

class RegistryTexts
{
  public:
    // applicationKey: below HKEY_CURRENT_USER, such as "Software\\kuvell".
    explicit RegistryTexts(std::string applicationKey);

    // The stored text, also when empty. nullopt when the key cannot be opened,
    // the value is missing, of another type than REG_SZ, longer than
    // kLargestRegistryCharacters or not valid UTF-16. A text ends at its first NUL
    // or at the value's end, whichever comes first. Reading creates nothing.
    std::optional<std::string> read(std::string_view section, std::string_view name) const;

    // Writes the texts in the order given, creating the keys they need. Every
    // text is checked before the first is written: one that is not valid
    // UTF-8, holds a NUL or is too large fails the whole list. When the
    // registry refuses one, the texts before it stay written and the reason
    // names the key, the value and the system's words.
    [[nodiscard]] Result write(std::span<const RegistryText> texts);

    // Deletes the value. A value or section key that does not exist is a
    // success; a refusal names the key, the value and the system's words.
    [[nodiscard]] Result remove(std::string_view section, std::string_view name);

    // "HKEY_CURRENT_USER\\<application key>".
    std::string location() const;

  private:
    std::string applicationKey_;
};

}  // namespace kuvell
