#include "stats/linux/NetlinkIfTableSource.h"

#include <netlink/addr.h>
#include <netlink/cache.h>
#include <netlink/errno.h>
#include <netlink/netlink.h>
#include <netlink/route/link.h>
#include <sys/socket.h>

#include <algorithm>
#include <span>

#include "stats/core/BufferIfTableSource.h"
#include "stats/linux/IfTableEncoder.h"
#include "stats/linux/LinkMapping.h"

namespace kuvell {

// One socket and one link cache for the source's life; each dump refills the cache.
struct NetlinkIfTableSource::Netlink
{
    nl_sock* socket = nullptr;
    nl_cache* links = nullptr;

    Netlink() = default;
    Netlink(const Netlink&) = delete;
    Netlink& operator=(const Netlink&) = delete;
    ~Netlink()
    {
        if (links != nullptr) {
            nl_cache_free(links);
        }
        if (socket != nullptr) {
            nl_socket_free(socket);
        }
    }

    // The kernel may interrupt a dump while links change; such a dump is retried.
    static constexpr int kAttempts = 3;

    bool refill()
    {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const int result = links == nullptr ? rtnl_link_alloc_cache(socket, AF_UNSPEC, &links)
                                                : nl_cache_refill(socket, links);
            if (result >= 0) {
                return true;
            }
            if (result != -NLE_DUMP_INTR) {
                return false;
            }
        }
        return false;
    }

    static std::unique_ptr<Netlink> connect()
    {
        auto netlink = std::make_unique<Netlink>();
        netlink->socket = nl_socket_alloc();
        if (netlink->socket == nullptr || nl_connect(netlink->socket, NETLINK_ROUTE) < 0) {
            return nullptr;
        }
        return netlink;
    }
};

namespace {

std::span<const uint8_t> hardwareAddress(rtnl_link* link)
{
    nl_addr* address = rtnl_link_get_addr(link);
    if (address == nullptr) {
        return {};
    }
    return {static_cast<const uint8_t*>(nl_addr_get_binary_addr(address)),
            nl_addr_get_len(address)};
}

}  // namespace

NetlinkIfTableSource::NetlinkIfTableSource(std::filesystem::path sysfsRoot)
    : sysfs_(std::move(sysfsRoot))
{
}

NetlinkIfTableSource::~NetlinkIfTableSource() = default;

LinkRow NetlinkIfTableSource::rowOf(rtnl_link* link, std::map<LinkKey, bool>& wireless) const
{
    const auto stat = [link](rtnl_link_stat_id_t id) { return rtnl_link_get_stat(link, id); };
    LinkRow row;
    const char* name = rtnl_link_get_name(link);
    row.name = name != nullptr ? name : "";
    const char* alias = rtnl_link_get_ifalias(link);
    row.description = (alias != nullptr && *alias != '\0') ? alias : row.name;
    row.index = static_cast<uint32_t>(rtnl_link_get_ifindex(link));
    const unsigned arpType = rtnl_link_get_arptype(link);
    const LinkKey key{rtnl_link_get_ifindex(link), row.name};
    const auto known = wireless_.find(key);
    const bool isWireless = known != wireless_.end() ? known->second : sysfs_.isWireless(row.name);
    wireless.emplace(key, isWireless);
    row.type = ianaIfType(arpType, isWireless);
    row.mtu = rtnl_link_get_mtu(link);
    const unsigned flags = rtnl_link_get_flags(link);
    row.speed = speedCanBeKnown(flags, arpType) ? sysfs_.speedBits(row.name) : 0;
    row.physAddr = rowPhysicalAddress(hardwareAddress(link), arpType);
    row.adminStatus = adminStatus(flags);
    row.operStatus = operStatus(flags);
    // Linux counts multicast inside its received packets; the row keeps them apart.
    const uint64_t multicast = stat(RTNL_LINK_MULTICAST);
    const uint64_t received = stat(RTNL_LINK_RX_PACKETS);
    row.inOctets = stat(RTNL_LINK_RX_BYTES);
    row.inUcastPkts = received - std::min(received, multicast);
    row.inNUcastPkts = multicast;
    row.inDiscards = stat(RTNL_LINK_RX_DROPPED);
    row.inErrors = stat(RTNL_LINK_RX_ERRORS);
    row.inUnknownProtos = stat(RTNL_LINK_RX_NOHANDLER);
    row.outOctets = stat(RTNL_LINK_TX_BYTES);
    // Linux keeps no count of multicast packets sent, and only the limit of the
    // transmit queue, not its length: those fields stay 0.
    row.outUcastPkts = stat(RTNL_LINK_TX_PACKETS);
    row.outDiscards = stat(RTNL_LINK_TX_DROPPED);
    row.outErrors = stat(RTNL_LINK_TX_ERRORS);
    return row;
}

std::optional<std::vector<LinkRow>> NetlinkIfTableSource::dumpLinks()
{
    if (!netlink_) {
        netlink_ = Netlink::connect();
    }
    if (!netlink_ || !netlink_->refill()) {
        netlink_.reset();  // reconnect on the next snapshot
        return std::nullopt;
    }
    std::vector<LinkRow> rows;
    std::map<LinkKey, bool> wireless;  // only the links of this dump are kept
    for (nl_object* object = nl_cache_get_first(netlink_->links); object != nullptr;
         object = nl_cache_get_next(object)) {
        rows.push_back(rowOf(reinterpret_cast<rtnl_link*>(object), wireless));
    }
    wireless_ = std::move(wireless);
    return rows;
}

std::optional<std::vector<uint8_t>> NetlinkIfTableSource::encodedDump()
{
    auto rows = dumpLinks();
    if (!rows) {
        return std::nullopt;
    }
    return encodeIfTable(*rows);
}

IfTableResult NetlinkIfTableSource::getIfTable(uint8_t* table, uint32_t& size, bool sort)
{
    if (table == nullptr || !pending_) {
        pending_ = encodedDump();
    }
    if (!pending_) {
        size = 0;
        return IfTableResult::NotSupported;
    }
    const IfTableResult result = serveIfTable(*pending_, table, size, sort);
    if (result == IfTableResult::Ok) {
        pending_.reset();  // the next snapshot dumps afresh
    }
    return result;
}

}  // namespace kuvell
