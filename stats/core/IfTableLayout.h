// SPDX-License-Identifier: MIT
#pragma once
// Byte layout of the interface table buffer: a 4-byte little-endian row count,
// then rows of 860 bytes with no gap. Every number field is 4 bytes, little-endian.
#include <cstddef>
#include <cstdint>

namespace kuvell {

inline constexpr std::size_t kIfTableCountSize = 4;
inline constexpr std::size_t kIfRowSize = 860;

// The largest table Kuvell accepts: far above any real system, yet a size
// report beyond it (a corrupt or hostile source) cannot make a snapshot
// allocate gigabytes.
inline constexpr uint32_t kMaxIfTableRows = 65535;
inline constexpr uint32_t kMaxIfTableSize = kIfTableCountSize + kMaxIfTableRows * kIfRowSize;

inline constexpr std::size_t kIfRowNameOffset = 0;
inline constexpr std::size_t kIfRowNameSize = 512;  // UTF-16LE, 256 units
inline constexpr std::size_t kIfRowPhysAddrOffset = 532;
inline constexpr std::size_t kIfRowPhysAddrSize = 8;
inline constexpr std::size_t kIfRowDescrOffset = 604;
inline constexpr std::size_t kIfRowDescrSize = 256;  // 8-bit code page

// The 4-byte fields, by their offset within a row.
enum class IfRowField : std::size_t {
    Index = 512,
    Type = 516,
    Mtu = 520,
    Speed = 524,
    PhysAddrLen = 528,
    AdminStatus = 540,
    OperStatus = 544,
    LastChange = 548,
    InOctets = 552,
    InUcastPkts = 556,
    InNUcastPkts = 560,
    InDiscards = 564,
    InErrors = 568,
    InUnknownProtos = 572,
    OutOctets = 576,
    OutUcastPkts = 580,
    OutNUcastPkts = 584,
    OutDiscards = 588,
    OutErrors = 592,
    OutQLen = 596,
    DescrLen = 600,
};

}  // namespace kuvell
