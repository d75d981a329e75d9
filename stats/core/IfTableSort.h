// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <span>

namespace kuvell {

// Orders the rows that lie wholly inside the buffer by interface index
// (ascending, ties kept in their order), as the table call's sort flag asks.
void sortIfTableByIndex(std::span<uint8_t> table);

}  // namespace kuvell
