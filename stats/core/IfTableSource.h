#pragma once
// Where the interface table comes from: the platform's table call, or a test's
// crafted buffer. One parser serves every source.
#include <cstdint>

namespace kuvell {

inline constexpr uint32_t kIfTableOk = 0;
inline constexpr uint32_t kIfTableNotSupported = 50;     // no interface table on this system
inline constexpr uint32_t kIfTableBufferTooSmall = 122;  // size now holds the size needed

class IfTableSource
{
  public:
    virtual ~IfTableSource() = default;

    // table == nullptr asks for the size: writes the bytes needed into size.
    // Otherwise fills table, which holds size bytes, and returns kIfTableOk; a
    // table too small for the rows gives kIfTableBufferTooSmall and the size
    // needed. sort orders the rows by interface index instead of the system's order.
    virtual uint32_t getIfTable(uint8_t* table, uint32_t& size, bool sort) = 0;
};

}  // namespace kuvell
