#include "stats/core/IfTableParser.h"

#include <algorithm>

#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

void FillFromAddressedRow(const IfRowView& row, CInterface& record)
{
    record.AdapterAddress(AdapterAddressText(PhysicalAddress(row)));
    record.AdminStatus(row.Signed(IfRowField::AdminStatus));
    record.InterfaceIndex(row.Signed(IfRowField::Index));
    record.DiscardedIncomingPackets(row.Signed(IfRowField::InDiscards));
    record.IncomingErrors(row.Signed(IfRowField::InErrors));
    record.NonunicastPacketsReceived(row.Signed(IfRowField::InNUcastPkts));
    record.OctetsReceived(row.Signed(IfRowField::InOctets));
    record.UnicastPacketsReceived(row.Signed(IfRowField::InUcastPkts));
    record.UnknownProtocolPackets(row.Signed(IfRowField::InUnknownProtos));
    record.MaximumTransmissionUnit(row.Signed(IfRowField::Mtu));
    record.OperationalStatus(row.Signed(IfRowField::OperStatus));
    record.DiscardedOutgoingPackets(row.Signed(IfRowField::OutDiscards));
    record.OutgoingErrors(row.Signed(IfRowField::OutErrors));
    record.NonunicastPacketsSent(row.Signed(IfRowField::OutNUcastPkts));
    record.OctetsSent(row.Signed(IfRowField::OutOctets));
    record.OutputQueueLength(row.Signed(IfRowField::OutQLen));
    record.UnicastPacketsSent(row.Signed(IfRowField::OutUcastPkts));
    record.Speed(row.Signed(IfRowField::Speed));
    record.InterfaceType(row.Signed(IfRowField::Type));
    // The whole field, padding included: under a one-byte code page a UTF-16
    // name shows a NUL after each ASCII letter, exactly as the table holds it.
    record.InterfaceName(Latin1ToUtf8(row.Name()));
}

}  // namespace

std::string DescriptionText(const IfRowView& row)
{
    // The length is a count, so it is read unsigned: a huge value keeps the
    // whole field rather than being taken as negative.
    const std::size_t keep =
        std::min<std::size_t>(row.Unsigned(IfRowField::DescrLen), kIfRowDescrSize);
    return Latin1ToUtf8(row.Descr().first(keep));
}

std::string AdapterAddressText(std::span<const uint8_t> address)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : address) {
        if (!text.empty()) {
            text += '-';
        }
        if (byte == 0) {
            text += "00";
            continue;
        }
        if (byte >= 0x10) {
            text += kHexDigits[byte >> 4];
        }
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

std::span<const uint8_t> PhysicalAddress(const IfRowView& row)
{
    const int32_t declared = row.Signed(IfRowField::PhysAddrLen);
    if (declared <= 0) {
        return {};
    }
    return row.PhysAddr().first(std::min<std::size_t>(declared, kIfRowPhysAddrSize));
}

TrafficCounters ParseIfTable(std::span<const uint8_t> buffer, CInterfaces& into)
{
    TrafficCounters counters;
    const IfTableView table(buffer);
    const std::size_t rows = table.RowCount();
    for (std::size_t i = 0; i < rows; ++i) {
        const IfRowView row = table.Row(i);
        auto record = std::make_shared<CInterface>();
        record->InterfaceDescription(DescriptionText(row));
        if (row.Signed(IfRowField::PhysAddrLen) > 0) {
            FillFromAddressedRow(row, *record);
            counters = {row.Signed(IfRowField::InOctets), row.Signed(IfRowField::OutOctets)};
        }
        into.Add(record);
    }
    return counters;
}

}  // namespace kuvell
