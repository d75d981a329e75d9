// SPDX-License-Identifier: MIT
#pragma once
// Bounds-checked reading of an interface table buffer. Only rows that lie
// wholly inside the buffer are offered, whatever count the buffer declares.
#include <cstdint>
#include <span>

#include "stats/core/IfTableLayout.h"

namespace kuvell {

uint32_t readLittleEndian32(std::span<const uint8_t, 4> bytes);

class IfRowView
{
  public:
    explicit IfRowView(std::span<const uint8_t, kIfRowSize> bytes) : bytes_(bytes) {}

    uint32_t unsignedField(IfRowField field) const;
    // The same 32 bits as a signed number: 2^31 and above read negative.
    int32_t signedField(IfRowField field) const;

    std::span<const uint8_t, kIfRowSize> bytes() const { return bytes_; }
    std::span<const uint8_t, kIfRowNameSize> name() const;
    std::span<const uint8_t, kIfRowPhysAddrSize> physAddr() const;
    std::span<const uint8_t, kIfRowDescrSize> descr() const;

  private:
    std::span<const uint8_t, kIfRowSize> bytes_;
};

class IfTableView
{
  public:
    explicit IfTableView(std::span<const uint8_t> buffer) : buffer_(buffer) {}

    // The count the buffer states; 0 when the buffer is shorter than the count field.
    uint32_t declaredRowCount() const;
    // The declared count, limited to the rows that fit wholly in the buffer.
    std::size_t rowCount() const;
    // Row i, counted from 0; throws std::out_of_range unless i < rowCount().
    IfRowView Row(std::size_t i) const;

  private:
    std::span<const uint8_t> buffer_;
};

}  // namespace kuvell
