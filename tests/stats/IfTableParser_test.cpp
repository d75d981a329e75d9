#include "stats/core/IfTableParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "TestTableWriter.h"

namespace kuvell {
namespace {

using test::TestTable;

struct Parsed
{
    CInterfaces records;
    TrafficCounters counters;
};

Parsed Parse(const std::vector<uint8_t>& buffer)
{
    Parsed out;
    out.counters = ParseIfTable(buffer, out.records);
    return out;
}

TEST(IfTableParser, ReadsEveryFieldFromItsFixedOffset)
{
    TestTable table;
    table.AddRow().InOctets(1);  // a first row, so the second starts at 4 + 860
    test::TestRow& row = table.AddRow();
    // Each 4-byte field holds 100000 + its own offset.
    for (std::size_t offset = 512; offset <= 600; offset += 4) {
        row.Put32(offset, static_cast<uint32_t>(100000 + offset));
    }
    row.PhysAddr({0x02, 0x42, 0xAC, 0x11, 0x00, 0x02}).Descr("eth0", 4);
    std::vector<uint8_t> buffer = table.Bytes();
    // dwInOctets of the second row, poked by its absolute offset.
    const std::size_t inOctets = 4 + 860 + 552;
    const uint8_t littleEndian[] = {0x44, 0x33, 0x22, 0x11};
    std::copy(std::begin(littleEndian), std::end(littleEndian), buffer.begin() + inOctets);

    const Parsed parsed = Parse(buffer);
    ASSERT_EQ(parsed.records.Count(), 2);
    const CInterface& r = *parsed.records.Item(2);
    EXPECT_EQ(r.InterfaceIndex(), 100512);
    EXPECT_EQ(r.InterfaceType(), 100516);
    EXPECT_EQ(r.MaximumTransmissionUnit(), 100520);
    EXPECT_EQ(r.Speed(), 100524);
    EXPECT_EQ(r.AdminStatus(), 100540);
    EXPECT_EQ(r.OperationalStatus(), 100544);
    EXPECT_EQ(r.LastChange(), 0.0) << "dwLastChange (548) is never read";
    EXPECT_EQ(r.OctetsReceived(), 0x11223344);
    EXPECT_EQ(r.UnicastPacketsReceived(), 100556);
    EXPECT_EQ(r.NonunicastPacketsReceived(), 100560);
    EXPECT_EQ(r.DiscardedIncomingPackets(), 100564);
    EXPECT_EQ(r.IncomingErrors(), 100568);
    EXPECT_EQ(r.UnknownProtocolPackets(), 100572);
    EXPECT_EQ(r.OctetsSent(), 100576);
    EXPECT_EQ(r.UnicastPacketsSent(), 100580);
    EXPECT_EQ(r.NonunicastPacketsSent(), 100584);
    EXPECT_EQ(r.DiscardedOutgoingPackets(), 100588);
    EXPECT_EQ(r.OutgoingErrors(), 100592);
    EXPECT_EQ(r.OutputQueueLength(), 100596);
    EXPECT_EQ(r.AdapterAddress(), "2-42-AC-11-00-2");
    EXPECT_EQ(r.InterfaceDescription(), "eth0");
    EXPECT_EQ(parsed.counters.received, 0x11223344);
    EXPECT_EQ(parsed.counters.sent, 100576);
}

TEST(IfTableParser, CountersComeFromTheLastRowWithAPhysicalAddress)
{
    const auto counters = [](std::vector<std::pair<bool, uint32_t>> rows) {
        TestTable table;
        for (const auto& [hasAddress, in] : rows) {
            table.AddRow()
                .PhysAddr(hasAddress ? std::vector<uint8_t>{1, 2} : std::vector<uint8_t>{})
                .InOctets(in)
                .OutOctets(in + 1);
        }
        return Parse(table.Bytes()).counters;
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
    table.AddRow().Index(1).InOctets(123456).OutOctets(654321).Descr("lo", 3).NameBytes("l\0o\0");
    // A length with bit 31 set reads negative: no address either.
    table.AddRow().Index(2).PhysAddr({1, 2, 3}, 0x80000000u).InOctets(99).Descr("x", 1);
    const Parsed parsed = Parse(table.Bytes());
    ASSERT_EQ(parsed.records.Count(), 2);
    const CInterface& lo = *parsed.records.Item(1);
    EXPECT_EQ(lo.InterfaceDescription(), std::string("lo\0", 3));
    EXPECT_EQ(lo.InterfaceIndex(), 0);
    EXPECT_EQ(lo.OctetsReceived(), 0);
    EXPECT_EQ(lo.InterfaceName(), "");
    EXPECT_EQ(lo.AdapterAddress(), "");
    EXPECT_EQ(parsed.records.Item(2)->InterfaceIndex(), 0);
    EXPECT_EQ(parsed.counters.received, 0);
    EXPECT_EQ(parsed.counters.sent, 0);
}

TEST(IfTableParser, AddressTextDropsLeadingZerosButWritesZeroBytesAsDoubleZero)
{
    const auto address = [](std::vector<uint8_t> bytes, std::optional<uint32_t> length = {}) {
        TestTable table;
        table.AddRow().PhysAddr(std::move(bytes), length);
        return Parse(table.Bytes()).records.Item(1)->AdapterAddress();
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
        table.AddRow().Descr(bytes, length);
        return Parse(table.Bytes()).records.Item(1)->InterfaceDescription();
    };
    EXPECT_EQ(description("Intel", 0), "");
    EXPECT_EQ(description("Intel", 3), "Int");
    EXPECT_EQ(description("Intel", 6), std::string("Intel\0", 6)) << "a counted NUL stays";
    EXPECT_EQ(description("caf\xE9", 4), "caf\xC3\xA9") << "Latin-1 byte to UTF-8";
    EXPECT_EQ(description("Intel", 300), std::string("Intel") + std::string(251, '\0'));
    EXPECT_EQ(description("Intel", 0xFFFFFFFF).size(), 256u) << "a huge length is not negative";

    TestTable table;
    table.AddRow().PhysAddr({1}).NameBytes(std::string("e\0t\0h\0\xE9\0", 8));
    const std::string name = Parse(table.Bytes()).records.Item(1)->InterfaceName();
    // All 512 bytes, one character each: 512 characters, the é taking two UTF-8 bytes.
    EXPECT_EQ(name.size(), 513u);
    EXPECT_EQ(name.substr(0, 9), std::string("e\0t\0h\0\xC3\xA9", 9));
    EXPECT_EQ(name.back(), '\0');
}

TEST(IfTableParser, FieldsAreSignedAndStoredUnchanged)
{
    TestTable table;
    table.AddRow()
        .PhysAddr({1})
        .InOctets(0x80000000u)
        .OutOctets(0xFFFFFFFFu)
        .Put32(524, 4000000000u);
    const Parsed parsed = Parse(table.Bytes());
    EXPECT_EQ(parsed.records.Item(1)->OctetsReceived(), INT32_MIN);
    EXPECT_EQ(parsed.records.Item(1)->OctetsSent(), -1);
    EXPECT_EQ(parsed.records.Item(1)->Speed(), -294967296);
    EXPECT_EQ(parsed.counters.received, INT32_MIN);
    EXPECT_EQ(parsed.counters.sent, -1);
}

TEST(IfTableParser, ReadsOnlyRowsThatLieWhollyInsideTheBuffer)
{
    TestTable table;
    for (uint32_t i = 1; i <= 45; ++i) {
        table.AddRow().Index(i).PhysAddr({static_cast<uint8_t>(i)}).InOctets(i * 100);
    }
    // Beyond 39 rows: row 40 starts at 4 + 39 * 860 = 33544.
    const Parsed all = Parse(table.Bytes());
    ASSERT_EQ(all.records.Count(), 45);
    EXPECT_EQ(all.records.Item(40)->InterfaceIndex(), 40);
    EXPECT_EQ(all.counters.received, 4500);

    // A count larger than the buffer holds: only the rows that are there.
    const Parsed overstated = Parse(table.Bytes(0xFFFFFFFFu));
    EXPECT_EQ(overstated.records.Count(), 45);
    // A cut last row is not read.
    std::vector<uint8_t> cut = table.Bytes();
    cut.resize(cut.size() - 1);
    const Parsed truncated = Parse(cut);
    EXPECT_EQ(truncated.records.Count(), 44);
    EXPECT_EQ(truncated.counters.received, 4400);
    // A count smaller than the rows present: only the counted rows.
    EXPECT_EQ(Parse(table.Bytes(2)).records.Count(), 2);
    EXPECT_EQ(Parse(table.Bytes(0)).records.Count(), 0);
    EXPECT_EQ(Parse(table.Bytes(0)).counters.received, 0);
    // Shorter than the count field itself.
    EXPECT_EQ(Parse({1, 0, 0}).records.Count(), 0);
    EXPECT_EQ(Parse({}).records.Count(), 0);
}

TEST(IfTableParser, EveryRowGetsItsOwnRecord)
{
    TestTable table;
    table.AddRow().PhysAddr({1}).Index(1);
    table.AddRow().PhysAddr({2}).Index(2);
    const Parsed parsed = Parse(table.Bytes());
    ASSERT_EQ(parsed.records.Count(), 2);
    EXPECT_NE(parsed.records.Item(1), parsed.records.Item(2));
    EXPECT_EQ(parsed.records.Item(1)->InterfaceIndex(), 1);
    EXPECT_EQ(parsed.records.Item(2)->InterfaceIndex(), 2);
}

}  // namespace
}  // namespace kuvell
