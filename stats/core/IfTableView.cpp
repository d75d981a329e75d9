#include "stats/core/IfTableView.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace kuvell {

uint32_t ReadLittleEndian32(std::span<const uint8_t, 4> bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint32_t IfRowView::Unsigned(IfRowField field) const
{
    // Every field offset is at most kIfRowSize - 4, so the four bytes are in the row.
    return ReadLittleEndian32(bytes_.subspan(static_cast<std::size_t>(field)).first<4>());
}

int32_t IfRowView::Signed(IfRowField field) const
{
    return std::bit_cast<int32_t>(Unsigned(field));
}

std::span<const uint8_t, kIfRowNameSize> IfRowView::Name() const
{
    return bytes_.subspan<kIfRowNameOffset, kIfRowNameSize>();
}

std::span<const uint8_t, kIfRowPhysAddrSize> IfRowView::PhysAddr() const
{
    return bytes_.subspan<kIfRowPhysAddrOffset, kIfRowPhysAddrSize>();
}

std::span<const uint8_t, kIfRowDescrSize> IfRowView::Descr() const
{
    return bytes_.subspan<kIfRowDescrOffset, kIfRowDescrSize>();
}

uint32_t IfTableView::DeclaredRowCount() const
{
    if (buffer_.size() < kIfTableCountSize) {
        return 0;
    }
    return ReadLittleEndian32(buffer_.first<kIfTableCountSize>());
}

std::size_t IfTableView::RowCount() const
{
    if (buffer_.size() < kIfTableCountSize) {
        return 0;
    }
    const std::size_t rowsThatFit = (buffer_.size() - kIfTableCountSize) / kIfRowSize;
    return std::min<std::size_t>(DeclaredRowCount(), rowsThatFit);
}

IfRowView IfTableView::Row(std::size_t i) const
{
    if (i >= RowCount()) {
        throw std::out_of_range("interface table: row outside the buffer");
    }
    return IfRowView(buffer_.subspan(kIfTableCountSize + i * kIfRowSize).first<kIfRowSize>());
}

}  // namespace kuvell
