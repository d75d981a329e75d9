#include "stats/linux/IfTableEncoder.h"

#include <algorithm>
#include <string>

#include "stats/core/IfTableLayout.h"
#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

void PutLittleEndian32(std::span<uint8_t> at, uint64_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

class RowWriter
{
  public:
    explicit RowWriter(std::span<uint8_t, kIfRowSize> row) : row_(row) {}

    void Put(IfRowField field, uint64_t value)
    {
        PutLittleEndian32(row_.subspan(static_cast<std::size_t>(field), 4), value);
    }

    void PutName(const std::string& name)
    {
        const std::u16string units = Utf8ToUtf16(name);
        const std::size_t count = std::min(units.size(), kIfRowNameSize / 2 - 1);
        for (std::size_t i = 0; i < count; ++i) {
            row_[kIfRowNameOffset + 2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
            row_[kIfRowNameOffset + 2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
        }
    }

    void PutDescription(const std::string& description)
    {
        const std::string bytes = Utf8ToLatin1(description);
        const std::size_t count = std::min(bytes.size(), kIfRowDescrSize - 1);
        std::copy_n(bytes.begin(), count, row_.begin() + kIfRowDescrOffset);
        Put(IfRowField::DescrLen, count + 1);  // the NUL is counted, as the platform does
    }

    void PutPhysAddr(const std::vector<uint8_t>& address)
    {
        const std::size_t count = std::min(address.size(), kIfRowPhysAddrSize);
        std::copy_n(address.begin(), count, row_.begin() + kIfRowPhysAddrOffset);
        Put(IfRowField::PhysAddrLen, count);
    }

  private:
    std::span<uint8_t, kIfRowSize> row_;
};

void EncodeRow(const LinkRow& link, RowWriter row)
{
    row.PutName(link.name);
    row.Put(IfRowField::Index, link.index);
    row.Put(IfRowField::Type, link.type);
    row.Put(IfRowField::Mtu, link.mtu);
    row.Put(IfRowField::Speed, link.speed);
    row.PutPhysAddr(link.physAddr);
    row.Put(IfRowField::AdminStatus, link.adminStatus);
    row.Put(IfRowField::OperStatus, link.operStatus);
    row.Put(IfRowField::InOctets, link.inOctets);
    row.Put(IfRowField::InUcastPkts, link.inUcastPkts);
    row.Put(IfRowField::InNUcastPkts, link.inNUcastPkts);
    row.Put(IfRowField::InDiscards, link.inDiscards);
    row.Put(IfRowField::InErrors, link.inErrors);
    row.Put(IfRowField::InUnknownProtos, link.inUnknownProtos);
    row.Put(IfRowField::OutOctets, link.outOctets);
    row.Put(IfRowField::OutUcastPkts, link.outUcastPkts);
    row.Put(IfRowField::OutNUcastPkts, link.outNUcastPkts);
    row.Put(IfRowField::OutDiscards, link.outDiscards);
    row.Put(IfRowField::OutErrors, link.outErrors);
    row.Put(IfRowField::OutQLen, link.outQLen);
    row.PutDescription(link.description);
}

}  // namespace

std::vector<uint8_t> EncodeIfTable(std::span<const LinkRow> rows)
{
    const std::size_t count = std::min<std::size_t>(rows.size(), kMaxIfTableRows);
    std::vector<uint8_t> table(kIfTableCountSize + count * kIfRowSize);
    PutLittleEndian32(table, count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto at = std::span(table).subspan(kIfTableCountSize + i * kIfRowSize);
        EncodeRow(rows[i], RowWriter(at.first<kIfRowSize>()));
    }
    return table;
}

}  // namespace kuvell
