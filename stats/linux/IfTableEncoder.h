// SPDX-License-Identifier: MIT
#pragma once
// Writes links into the interface table buffer, field by field, in their order.
#include <cstdint>
#include <span>
#include <vector>

#include "stats/linux/LinkRow.h"

namespace kuvell {

// The name goes in as UTF-16LE (at most 255 units and a NUL), the description
// in the 8-bit code page (at most 255 bytes and a NUL that its length counts),
// the physical address as at most 8 bytes, every counter as its low 32 bits.
std::vector<uint8_t> encodeIfTable(std::span<const LinkRow> rows);

}  // namespace kuvell
