// SPDX-License-Identifier: MIT
#pragma once
// Where the interface table comes from: the platform's table call, or a test's
// crafted buffer. One parser serves every source.
#include <cstdint>

namespace kuvell {

// The table call's result codes, with the values the platform gives them. A
// source may answer any other value, which callers treat as a failure.
enum class IfTableResult : uint32_t {
    Ok = 0,
    NotSupported = 50,     // no interface table on this system
    BufferTooSmall = 122,  // size now holds the size needed
};

class IfTableSource
{
  public:
    virtual ~IfTableSource() = default;

    // table == nullptr asks for the size: writes the bytes needed into size.
    // Otherwise fills table, which holds size bytes, and returns IfTableResult::Ok; a
    // table too small for the rows gives IfTableResult::BufferTooSmall and the size
    // needed. sort orders the rows by interface index instead of the system's order.
    [[nodiscard]] virtual IfTableResult getIfTable(uint8_t* table, uint32_t& size, bool sort) = 0;
};

}  // namespace kuvell
