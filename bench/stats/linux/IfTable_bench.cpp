// SPDX-License-Identifier: MIT
// What a snapshot costs: parsing alone, a whole real snapshot (netlink dump,
// sysfs reads, encoding, parsing), and beside it the bare libnl dump of the
// same links that any netlink-based monitor pays at least.
#include <benchmark/benchmark.h>
#include <netlink/cache.h>
#include <netlink/netlink.h>
#include <netlink/route/link.h>
#include <sys/socket.h>

#include <string>
#include <vector>

#include "stats/core/IfTableParser.h"
#include "stats/core/InterfaceTable.h"
#include "stats/linux/IfTableEncoder.h"
#include "stats/linux/NetlinkIfTableSource.h"

namespace kuvell {
namespace {

std::vector<uint8_t> fortyRowTable()
{
    std::vector<LinkRow> rows(40);
    for (uint32_t i = 0; i < rows.size(); ++i) {
        rows[i].name = "veth" + std::to_string(i);
        rows[i].description = rows[i].name;
        rows[i].index = i + 1;
        rows[i].physAddr = {0x02, 0x42, 0xAC, 0x11, 0x00, static_cast<uint8_t>(i)};
        rows[i].inOctets = 1000u * i;
    }
    return encodeIfTable(rows);
}

void BM_ParseFortyRowTable(benchmark::State& state)
{
    const std::vector<uint8_t> table = fortyRowTable();
    for (auto _ : state) {
        InterfaceRecords records;
        benchmark::DoNotOptimize(parseIfTable(table, records));
        benchmark::DoNotOptimize(records.count());
    }
}
BENCHMARK(BM_ParseFortyRowTable);

// With [options] interface set: every row's name and description are decoded
// to be compared; the first row is the chosen one, so the whole table is searched.
void BM_ParseFortyRowTableForAChosenInterface(benchmark::State& state)
{
    const std::vector<uint8_t> table = fortyRowTable();
    for (auto _ : state) {
        InterfaceRecords records;
        benchmark::DoNotOptimize(parseIfTable(table, records, "veth0"));
        benchmark::DoNotOptimize(records.count());
    }
}
BENCHMARK(BM_ParseFortyRowTableForAChosenInterface);

void BM_RealSnapshot(benchmark::State& state)
{
    InterfaceTable helper(std::make_shared<NetlinkIfTableSource>(), nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(helper.interfaces());
        benchmark::DoNotOptimize(helper.bytesReceived());
    }
}
BENCHMARK(BM_RealSnapshot);

void BM_BareLibnlLinkDump(benchmark::State& state)
{
    nl_sock* socket = nl_socket_alloc();
    nl_cache* links = nullptr;
    if (socket == nullptr || nl_connect(socket, NETLINK_ROUTE) < 0 ||
        rtnl_link_alloc_cache(socket, AF_UNSPEC, &links) < 0) {
        state.SkipWithError("netlink is not available");
    } else {
        for (auto _ : state) {
            nl_cache_refill(socket, links);
            for (nl_object* o = nl_cache_get_first(links); o != nullptr; o = nl_cache_get_next(o)) {
                benchmark::DoNotOptimize(
                    rtnl_link_get_stat(reinterpret_cast<rtnl_link*>(o), RTNL_LINK_RX_BYTES));
            }
        }
    }
    if (links != nullptr) {
        nl_cache_free(links);
    }
    if (socket != nullptr) {
        nl_socket_free(socket);
    }
}
BENCHMARK(BM_BareLibnlLinkDump);

}  // namespace
}  // namespace kuvell
