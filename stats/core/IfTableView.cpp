// SPDX-License-Identifier: MIT
#include "stats/core/IfTableView.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace kuvell {

uint32_t readLittleEndian32(std::span<const uint8_t, 4> bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint32_t IfRowView::unsignedField(IfRowField field) const
{
    // Every field offset is at most kIfRowSize - 4, so the four bytes are in the row.
    return readLittleEndian32(bytes_.subspan(static_cast<std::size_t>(field)).first<4>());
}

int32_t IfRowView::signedField(IfRowField field) const
{
    return std::bit_cast<int32_t>(unsignedField(field));
}

std::span<const uint8_t, kIfRowNameSize> IfRowView::name() const
{
    return bytes_.subspan<kIfRowNameOffset, kIfRowNameSize>();
}

std::span<const uint8_t, kIfRowPhysAddrSize> IfRowView::physAddr() const
{
    return bytes_.subspan<kIfRowPhysAddrOffset, kIfRowPhysAddrSize>();
}

std::span<const uint8_t, kIfRowDescrSize> IfRowView::descr() const
{
    return bytes_.subspan<kIfRowDescrOffset, kIfRowDescrSize>();
}

uint32_t IfTableView::declaredRowCount() const
{
    if (buffer_.size() < kIfTableCountSize) {
        return 0;
    }
    return readLittleEndian32(buffer_.first<kIfTableCountSize>());
}

std::size_t IfTableView::rowCount() const
{
    if (buffer_.size() < kIfTableCountSize) {
        return 0;
    }
    const std::size_t rowsThatFit = (buffer_.size() - kIfTableCountSize) / kIfRowSize;
    return std::min<std::size_t>(declaredRowCount(), rowsThatFit);
}

IfRowView IfTableView::Row(std::size_t i) const
{
    if (i >= rowCount()) {
        throw std::out_of_range("interface table: row outside the buffer");
    }
    return IfRowView(buffer_.subspan(kIfTableCountSize + i * kIfRowSize).first<kIfRowSize>());
}

}  // namespace kuvell
