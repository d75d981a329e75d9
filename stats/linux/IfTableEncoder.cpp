// SPDX-License-Identifier: MIT
#include "stats/linux/IfTableEncoder.h"

#include <algorithm>
#include <string>

#include "stats/core/IfTableLayout.h"
#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

void putLittleEndian32(std::span<uint8_t> at, uint64_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

class RowWriter
{
  public:
    explicit RowWriter(std::span<uint8_t, kIfRowSize> row) : row_(row) {}

    void put(IfRowField field, uint64_t value)
    {
        putLittleEndian32(row_.subspan(static_cast<std::size_t>(field), 4), value);
    }

    void putName(const std::string& name)
    {
        const std::u16string units = utf8ToUtf16(name);
        const std::size_t count = std::min(units.size(), kIfRowNameSize / 2 - 1);
        for (std::size_t i = 0; i < count; ++i) {
            row_[kIfRowNameOffset + 2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
            row_[kIfRowNameOffset + 2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
        }
    }

    void putDescription(const std::string& description)
    {
        const std::string bytes = utf8ToLatin1(description);
        const std::size_t count = std::min(bytes.size(), kIfRowDescrSize - 1);
        std::copy_n(bytes.begin(), count, row_.begin() + kIfRowDescrOffset);
        put(IfRowField::DescrLen, count + 1);  // the NUL is counted, as the platform does
    }

    void putPhysAddr(const std::vector<uint8_t>& address)
    {
        const std::size_t count = std::min(address.size(), kIfRowPhysAddrSize);
        std::copy_n(address.begin(), count, row_.begin() + kIfRowPhysAddrOffset);
        put(IfRowField::PhysAddrLen, count);
    }

  private:
    std::span<uint8_t, kIfRowSize> row_;
};

void encodeRow(const LinkRow& link, RowWriter row)
{
    row.putName(link.name);
    row.put(IfRowField::Index, link.index);
    row.put(IfRowField::Type, link.type);
    row.put(IfRowField::Mtu, link.mtu);
    row.put(IfRowField::Speed, link.speed);
    row.putPhysAddr(link.physAddr);
    row.put(IfRowField::AdminStatus, link.adminStatus);
    row.put(IfRowField::OperStatus, link.operStatus);
    row.put(IfRowField::InOctets, link.inOctets);
    row.put(IfRowField::InUcastPkts, link.inUcastPkts);
    row.put(IfRowField::InNUcastPkts, link.inNUcastPkts);
    row.put(IfRowField::InDiscards, link.inDiscards);
    row.put(IfRowField::InErrors, link.inErrors);
    row.put(IfRowField::InUnknownProtos, link.inUnknownProtos);
    row.put(IfRowField::OutOctets, link.outOctets);
    row.put(IfRowField::OutUcastPkts, link.outUcastPkts);
    row.put(IfRowField::OutNUcastPkts, link.outNUcastPkts);
    row.put(IfRowField::OutDiscards, link.outDiscards);
    row.put(IfRowField::OutErrors, link.outErrors);
    row.put(IfRowField::OutQLen, link.outQLen);
    row.putDescription(link.description);
}

}  // namespace

std::vector<uint8_t> encodeIfTable(std::span<const LinkRow> rows)
{
    const std::size_t count = std::min<std::size_t>(rows.size(), kMaxIfTableRows);
    std::vector<uint8_t> table(kIfTableCountSize + count * kIfRowSize);
    putLittleEndian32(table, count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto at = std::span(table).subspan(kIfTableCountSize + i * kIfRowSize);
        encodeRow(rows[i], RowWriter(at.first<kIfRowSize>()));
    }
    return table;
}

}  // namespace kuvell
