// SPDX-License-Identifier: MIT
#pragma once
// One kernel link, already mapped to the meanings of an interface table row.
#include <cstdint>
#include <string>
#include <vector>

namespace kuvell {

struct LinkRow
{
    std::string name;         // UTF-8
    std::string description;  // UTF-8
    uint32_t index = 0;
    uint32_t type = 0;  // IANA ifType
    uint32_t mtu = 0;
    uint32_t speed = 0;             // bit/s
    std::vector<uint8_t> physAddr;  // empty: the row has no physical address
    uint32_t adminStatus = 0;
    uint32_t operStatus = 0;
    // The kernel's 64-bit counters; the table keeps their low 32 bits.
    uint64_t inOctets = 0;
    uint64_t inUcastPkts = 0;
    uint64_t inNUcastPkts = 0;
    uint64_t inDiscards = 0;
    uint64_t inErrors = 0;
    uint64_t inUnknownProtos = 0;
    uint64_t outOctets = 0;
    uint64_t outUcastPkts = 0;
    uint64_t outNUcastPkts = 0;
    uint64_t outDiscards = 0;
    uint64_t outErrors = 0;
    uint64_t outQLen = 0;
};

}  // namespace kuvell
