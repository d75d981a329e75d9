// SPDX-License-Identifier: MIT
#pragma once
// A table source that serves one recorded buffer, answering like the platform
// call: the size query gives its size, a large enough table gets a copy.
#include <cstdint>
#include <span>
#include <vector>

#include "stats/core/IfTableSource.h"

namespace kuvell {

// Answers a table call from a table already taken: a null or too small table
// gets the size needed and IfTableResult::BufferTooSmall, a large enough one a copy
// (sorted by interface index on request) and IfTableResult::Ok.
IfTableResult serveIfTable(std::span<const uint8_t> taken, uint8_t* table, uint32_t& size,
                           bool sort);

class BufferIfTableSource : public IfTableSource
{
  public:
    // Throws std::length_error for a buffer larger than a 32-bit size can report.
    explicit BufferIfTableSource(std::vector<uint8_t> table);

    IfTableResult getIfTable(uint8_t* table, uint32_t& size, bool sort) override;

  private:
    std::vector<uint8_t> table_;
};

}  // namespace kuvell
