// SPDX-License-Identifier: MIT
#include "stats/core/IfTableParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>

#include "support/TableWriter.h"

namespace kuvell {
namespace {

using testsupport::TestTable;

struct Parsed
{
    InterfaceRecords records;
    TrafficCounters counters;
};

Parsed parse(const std::vector<uint8_t>& buffer)
{
    Parsed out;
    out.counters = parseIfTable(buffer, out.records);
    return out;
}

TEST(IfTableParser, ReadsEveryFieldFromItsFixedOffset)
{
    TestTable table;
    table.addRow().inOctets(1);  // a first row, so the second starts at 4 + 860
    testsupport::TestRow& row = table.addRow();
    // Each 4-byte field holds 100000 + its own offset.
    for (std::size_t offset = 512; offset <= 600; offset += 4) {
        row.put32(offset, static_cast<uint32_t>(100000 + offset));
    }
    row.physAddr({0x02, 0x42, 0xAC, 0x11, 0x00, 0x02}).descr("eth0", 4);
    std::vector<uint8_t> buffer = table.bytes();
    // dwInOctets of the second row, poked by its absolute offset.
    const std::size_t inOctets = 4 + 860 + 552;
    const uint8_t littleEndian[] = {0x44, 0x33, 0x22, 0x11};
    std::copy(std::begin(littleEndian), std::end(littleEndian), buffer.begin() + inOctets);

    const Parsed parsed = parse(buffer);
    ASSERT_EQ(parsed.records.count(), 2);
    const InterfaceRecord& r = *parsed.records.item(2);
    EXPECT_EQ(r.interfaceIndex(), 100512);
    EXPECT_EQ(r.interfaceType(), 100516);
    EXPECT_EQ(r.maximumTransmissionUnit(), 100520);
    EXPECT_EQ(r.speed(), 100524);
    EXPECT_EQ(r.adminStatus(), 100540);
    EXPECT_EQ(r.operationalStatus(), 100544);
    EXPECT_EQ(r.lastChange(), 0.0) << "dwLastChange (548) is never read";
    EXPECT_EQ(r.octetsReceived(), 0x11223344);
    EXPECT_EQ(r.unicastPacketsReceived(), 100556);
    EXPECT_EQ(r.nonunicastPacketsReceived(), 100560);
    EXPECT_EQ(r.discardedIncomingPackets(), 100564);
    EXPECT_EQ(r.incomingErrors(), 100568);
    EXPECT_EQ(r.unknownProtocolPackets(), 100572);
    EXPECT_EQ(r.octetsSent(), 100576);
    EXPECT_EQ(r.unicastPacketsSent(), 100580);
    EXPECT_EQ(r.nonunicastPacketsSent(), 100584);
    EXPECT_EQ(r.discardedOutgoingPackets(), 100588);
    EXPECT_EQ(r.outgoingErrors(), 100592);
    EXPECT_EQ(r.outputQueueLength(), 100596);
    EXPECT_EQ(r.adapterAddress(), "2-42-AC-11-00-2");
    EXPECT_EQ(r.interfaceDescription(), "eth0");
    EXPECT_EQ(parsed.counters.received, 0x11223344);
    EXPECT_EQ(parsed.counters.sent, 100576);
}

TEST(IfTableParser, CountersComeFromTheLastRowWithAPhysicalAddress)
{
    const auto counters = [](std::vector<std::pair<bool, uint32_t>> rows) {
        TestTable table;
        for (const auto& [hasAddress, in] : rows) {
            table.addRow()
                .physAddr(hasAddress ? std::vector<uint8_t>{1, 2} : std::vector<uint8_t>{})
                .inOctets(in)
                .outOctets(in + 1);
        }
        return parse(table.bytes()).counters;
    };
    EXPECT_EQ(counters({{true, 1000}, {true, 5000}}).received, 5000) << "not a sum";
    EXPECT_EQ(counters({{true, 5000}, {true, 1000}}).received, 1000);
    EXPECT_EQ(counters({{true, 1000}, {false, 7777}}).received, 1000) << "loopback after";
    EXPECT_EQ(counters({{true, 1000}, {false, 7777}}).sent, 1001);
    const TrafficCounters none = counters({{false, 7777}, {false, 8888}});
    EXPECT_EQ(none.received, 0);
    EXPECT_EQ(none.sent, 0);
}

TEST(IfTableParser, RowWithoutPhysicalAddressKeepsOnlyItsDescription)
{
    TestTable table;
    table.addRow().index(1).inOctets(123456).outOctets(654321).descr("lo", 3).nameBytes("l\0o\0");
    // A length with bit 31 set reads negative: no address either.
    table.addRow().index(2).physAddr({1, 2, 3}, 0x80000000u).inOctets(99).descr("x", 1);
    const Parsed parsed = parse(table.bytes());
    ASSERT_EQ(parsed.records.count(), 2);
    const InterfaceRecord& lo = *parsed.records.item(1);
    EXPECT_EQ(lo.interfaceDescription(), std::string("lo\0", 3));
    EXPECT_EQ(lo.interfaceIndex(), 0);
    EXPECT_EQ(lo.octetsReceived(), 0);
    EXPECT_EQ(lo.interfaceName(), "");
    EXPECT_EQ(lo.adapterAddress(), "");
    EXPECT_EQ(parsed.records.item(2)->interfaceIndex(), 0);
    EXPECT_EQ(parsed.counters.received, 0);
    EXPECT_EQ(parsed.counters.sent, 0);
}

TEST(IfTableParser, AddressTextDropsLeadingZerosButWritesZeroBytesAsDoubleZero)
{
    const auto address = [](std::vector<uint8_t> bytes, std::optional<uint32_t> length = {}) {
        TestTable table;
        table.addRow().physAddr(std::move(bytes), length);
        return parse(table.bytes()).records.item(1)->adapterAddress();
    };
    EXPECT_EQ(address({0x00, 0x0C, 0x29, 0xAB, 0x0D, 0xEF}), "00-C-29-AB-D-EF");
    EXPECT_EQ(address({0x5A}), "5A");
    EXPECT_EQ(address({0x00, 0x0A, 0x10, 0xFF}), "00-A-10-FF");
    EXPECT_EQ(address({0x01, 0x02, 0x03, 0x04, 0x05, 0x06}, 3), "1-2-3") << "only the length";
    // A length beyond the 8-byte field uses the 8 bytes there are.
    EXPECT_EQ(address({1, 2, 3, 4, 5, 6, 7, 8}, 20), "1-2-3-4-5-6-7-8");
    EXPECT_EQ(address({1, 2, 3, 4, 5, 6, 7, 8}, 0x7FFFFFFF), "1-2-3-4-5-6-7-8");
}

TEST(IfTableParser, TextsFollowTheOneByteCodePageAndTheDescriptionLength)
{
    const auto description = [](std::string_view bytes, uint32_t length) {
        TestTable table;
        table.addRow().descr(bytes, length);
        return parse(table.bytes()).records.item(1)->interfaceDescription();
    };
    EXPECT_EQ(description("Intel", 0), "");
    EXPECT_EQ(description("Intel", 3), "Int");
    EXPECT_EQ(description("Intel", 6), std::string("Intel\0", 6)) << "a counted NUL stays";
    EXPECT_EQ(description("caf\xE9", 4), "caf\xC3\xA9") << "Latin-1 byte to UTF-8";
    EXPECT_EQ(description("Intel", 300), std::string("Intel") + std::string(251, '\0'));
    EXPECT_EQ(description("Intel", 0xFFFFFFFF).size(), 256u) << "a huge length is not negative";

    TestTable table;
    table.addRow().physAddr({1}).nameBytes(std::string("e\0t\0h\0\xE9\0", 8));
    const std::string name = parse(table.bytes()).records.item(1)->interfaceName();
    // All 512 bytes, one character each: 512 characters, the é taking two UTF-8 bytes.
    EXPECT_EQ(name.size(), 513u);
    EXPECT_EQ(name.substr(0, 9), std::string("e\0t\0h\0\xC3\xA9", 9));
    EXPECT_EQ(name.back(), '\0');
}

TEST(IfTableParser, FieldsAreSignedAndStoredUnchanged)
{
    TestTable table;
    table.addRow()
        .physAddr({1})
        .inOctets(0x80000000u)
        .outOctets(0xFFFFFFFFu)
        .put32(524, 4000000000u);
    const Parsed parsed = parse(table.bytes());
    EXPECT_EQ(parsed.records.item(1)->octetsReceived(), INT32_MIN);
    EXPECT_EQ(parsed.records.item(1)->octetsSent(), -1);
    EXPECT_EQ(parsed.records.item(1)->speed(), -294967296);
    EXPECT_EQ(parsed.counters.received, INT32_MIN);
    EXPECT_EQ(parsed.counters.sent, -1);
}

TEST(IfTableParser, ReadsOnlyRowsThatLieWhollyInsideTheBuffer)
{
    TestTable table;
    for (uint32_t i = 1; i <= 45; ++i) {
        table.addRow().index(i).physAddr({static_cast<uint8_t>(i)}).inOctets(i * 100);
    }
    // Beyond 39 rows: row 40 starts at 4 + 39 * 860 = 33544.
    const Parsed all = parse(table.bytes());
    ASSERT_EQ(all.records.count(), 45);
    EXPECT_EQ(all.records.item(40)->interfaceIndex(), 40);
    EXPECT_EQ(all.counters.received, 4500);

    // A count larger than the buffer holds: only the rows that are there.
    const Parsed overstated = parse(table.bytes(0xFFFFFFFFu));
    EXPECT_EQ(overstated.records.count(), 45);
    // A cut last row is not read.
    std::vector<uint8_t> cut = table.bytes();
    cut.resize(cut.size() - 1);
    const Parsed truncated = parse(cut);
    EXPECT_EQ(truncated.records.count(), 44);
    EXPECT_EQ(truncated.counters.received, 4400);
    // A count smaller than the rows present: only the counted rows.
    EXPECT_EQ(parse(table.bytes(2)).records.count(), 2);
    EXPECT_EQ(parse(table.bytes(0)).records.count(), 0);
    EXPECT_EQ(parse(table.bytes(0)).counters.received, 0);
    // Shorter than the count field itself.
    EXPECT_EQ(parse({1, 0, 0}).records.count(), 0);
    EXPECT_EQ(parse({}).records.count(), 0);
}

// An ASCII name as the table stores it: UTF-16LE.
std::string utf16(std::string_view ascii)
{
    std::string bytes;
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(IfTableParser, AChosenInterfaceIsTheRowWithThatNameOrDescription)
{
    TestTable table;
    table.addRow().nameBytes(utf16("lo")).descr("lo", 3).inOctets(7777).outOctets(7);
    table.addRow()
        .nameBytes(utf16("wlan0"))
        .descr("Office Wi-Fi", 13)
        .physAddr({1})
        .inOctets(1000)
        .outOctets(10);
    // An alias that repeats another interface's name.
    table.addRow()
        .index(12)
        .nameBytes(utf16("veth9"))
        .descr("wlan0", 5)
        .physAddr({2})
        .inOctets(5000)
        .outOctets(50);
    table.addRow()
        .nameBytes(utf16("br0"))
        .descr("br0", 4)
        .physAddr({3})
        .inOctets(3000)
        .outOctets(30);
    const std::vector<uint8_t> bytes = table.bytes();
    const auto pick = [&](std::string_view chosen) {
        InterfaceRecords records;
        const TrafficCounters counters = parseIfTable(bytes, records, chosen);
        EXPECT_EQ(records.count(), 4) << chosen;
        return std::make_tuple(counterRowIndex(IfTableView(bytes), chosen), counters.received,
                               counters.sent);
    };
    using Picked = std::tuple<std::optional<std::size_t>, int32_t, int32_t>;
    EXPECT_EQ(pick(""), Picked(3, 3000, 30)) << "no choice: the last row with an address";
    EXPECT_EQ(pick("wlan0"), Picked(1, 1000, 10)) << "a name wins over another row's description";
    EXPECT_EQ(pick("Office Wi-Fi"), Picked(1, 1000, 10));
    EXPECT_EQ(pick("veth9"), Picked(2, 5000, 50));
    EXPECT_EQ(pick("lo"), Picked(0, 7777, 7)) << "chosen, a row without an address counts too";
    // Not in the table: counters 0, as for an empty table. Compared exactly.
    for (const std::string_view absent : {"eth0", "wlan", "WLAN0", "wlan0 ", "Office"}) {
        EXPECT_EQ(pick(absent), Picked(std::nullopt, 0, 0)) << absent;
    }
    EXPECT_EQ(counterRowIndex(IfTableView({}), "wlan0"), std::nullopt);

    // The counters say which interface they belong to, by index and name.
    InterfaceRecords records;
    EXPECT_EQ(parseIfTable(bytes, records, "veth9").from, (CountedInterface{12, "veth9"}));
    EXPECT_EQ(parseIfTable(bytes, records, "eth0").from, std::nullopt);
}

TEST(IfTableParser, EveryRowGetsItsOwnRecord)
{
    TestTable table;
    table.addRow().physAddr({1}).index(1);
    table.addRow().physAddr({2}).index(2);
    const Parsed parsed = parse(table.bytes());
    ASSERT_EQ(parsed.records.count(), 2);
    EXPECT_NE(parsed.records.item(1), parsed.records.item(2));
    EXPECT_EQ(parsed.records.item(1)->interfaceIndex(), 1);
    EXPECT_EQ(parsed.records.item(2)->interfaceIndex(), 2);
}

}  // namespace
}  // namespace kuvell
