// SPDX-License-Identifier: MIT
#include "stats/core/IfTableParser.h"

#include <algorithm>

#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

void fillFromAddressedRow(const IfRowView& row, InterfaceRecord& record)
{
    record.adapterAddress(adapterAddressText(physicalAddress(row)));
    record.adminStatus(row.signedField(IfRowField::AdminStatus));
    record.interfaceIndex(row.signedField(IfRowField::Index));
    record.discardedIncomingPackets(row.signedField(IfRowField::InDiscards));
    record.incomingErrors(row.signedField(IfRowField::InErrors));
    record.nonunicastPacketsReceived(row.signedField(IfRowField::InNUcastPkts));
    record.octetsReceived(row.signedField(IfRowField::InOctets));
    record.unicastPacketsReceived(row.signedField(IfRowField::InUcastPkts));
    record.unknownProtocolPackets(row.signedField(IfRowField::InUnknownProtos));
    record.maximumTransmissionUnit(row.signedField(IfRowField::Mtu));
    record.operationalStatus(row.signedField(IfRowField::OperStatus));
    record.discardedOutgoingPackets(row.signedField(IfRowField::OutDiscards));
    record.outgoingErrors(row.signedField(IfRowField::OutErrors));
    record.nonunicastPacketsSent(row.signedField(IfRowField::OutNUcastPkts));
    record.octetsSent(row.signedField(IfRowField::OutOctets));
    record.outputQueueLength(row.signedField(IfRowField::OutQLen));
    record.unicastPacketsSent(row.signedField(IfRowField::OutUcastPkts));
    record.speed(row.signedField(IfRowField::Speed));
    record.interfaceType(row.signedField(IfRowField::Type));
    // The whole field, padding included: under a one-byte code page a UTF-16
    // name shows a NUL after each ASCII letter, exactly as the table holds it.
    record.interfaceName(latin1ToUtf8(row.name()));
}

}  // namespace

std::string descriptionText(const IfRowView& row)
{
    // The length is a count, so it is read unsigned: a huge value keeps the
    // whole field rather than being taken as negative.
    const std::size_t keep =
        std::min<std::size_t>(row.unsignedField(IfRowField::DescrLen), kIfRowDescrSize);
    return latin1ToUtf8(row.descr().first(keep));
}

std::string interfaceNameText(const IfRowView& row) { return utf16LeToUtf8(row.name()); }

std::string shownDescriptionText(const IfRowView& row)
{
    const std::string description = descriptionText(row);
    return description.substr(0, description.find('\0'));
}

std::string adapterAddressText(std::span<const uint8_t> address)
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

std::span<const uint8_t> physicalAddress(const IfRowView& row)
{
    const int32_t declared = row.signedField(IfRowField::PhysAddrLen);
    if (declared <= 0) {
        return {};
    }
    return row.physAddr().first(std::min<std::size_t>(declared, kIfRowPhysAddrSize));
}

std::optional<std::size_t> counterRowIndex(const IfTableView& table,
                                           std::string_view chosenInterface)
{
    const std::size_t rows = table.rowCount();
    if (chosenInterface.empty()) {
        for (std::size_t i = rows; i-- > 0;) {
            if (table.Row(i).signedField(IfRowField::PhysAddrLen) > 0) {
                return i;
            }
        }
        return std::nullopt;
    }
    std::optional<std::size_t> describedAs;
    for (std::size_t i = 0; i < rows; ++i) {
        const IfRowView row = table.Row(i);
        if (interfaceNameText(row) == chosenInterface) {
            return i;
        }
        if (!describedAs && shownDescriptionText(row) == chosenInterface) {
            describedAs = i;
        }
    }
    return describedAs;
}

TrafficCounters parseIfTable(std::span<const uint8_t> buffer, InterfaceRecords& into,
                             std::string_view chosenInterface)
{
    const IfTableView table(buffer);
    const std::size_t rows = table.rowCount();
    for (std::size_t i = 0; i < rows; ++i) {
        const IfRowView row = table.Row(i);
        auto record = std::make_shared<InterfaceRecord>();
        record->interfaceDescription(descriptionText(row));
        if (row.signedField(IfRowField::PhysAddrLen) > 0) {
            fillFromAddressedRow(row, *record);
        }
        into.add(record);
    }
    const auto taken = counterRowIndex(table, chosenInterface);
    if (!taken) {
        return {};
    }
    const IfRowView row = table.Row(*taken);
    std::string name = interfaceNameText(row);
    std::string description = shownDescriptionText(row);
    return {row.signedField(IfRowField::InOctets), row.signedField(IfRowField::OutOctets),
            CountedInterface{row.signedField(IfRowField::Index), name},
            description.empty() ? name : description};
}

}  // namespace kuvell
