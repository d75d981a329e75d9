// SPDX-License-Identifier: MIT
#include "stats/linux/NetlinkIfTableSource.h"

#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <netlink/attr.h>
#include <netlink/errno.h>
#include <netlink/msg.h>
#include <netlink/netlink.h>
#include <netlink/socket.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "stats/core/BufferIfTableSource.h"
#include "stats/linux/IfTableEncoder.h"
#include "stats/linux/LinkMapping.h"

namespace kuvell {

struct NetlinkIfTableSource::KernelLink
{
    int index = 0;
    unsigned arpType = 0;
    unsigned flags = 0;
    uint32_t mtu = 0;
    std::string name;
    std::string alias;
    std::vector<uint8_t> address;
    rtnl_link_stats64 stats{};
};

namespace {

using KernelLink = NetlinkIfTableSource::KernelLink;

// Strings are checked to end in NUL; everything else is read within its
// attribute's length.
const std::array<nla_policy, IFLA_MAX + 1>& linkPolicy()
{
    static const auto policy = [] {
        std::array<nla_policy, IFLA_MAX + 1> rules{};
        rules[IFLA_IFNAME].type = NLA_STRING;
        rules[IFLA_IFALIAS].type = NLA_STRING;
        rules[IFLA_MTU].type = NLA_U32;
        return rules;
    }();
    return policy;
}

std::string text(const nlattr* attribute)
{
    if (attribute == nullptr) {
        return {};
    }
    const char* data = static_cast<const char*>(nla_data(attribute));
    return {data, ::strnlen(data, static_cast<std::size_t>(nla_len(attribute)))};
}

// Older kernels send only the 32-bit counters; newer ones may send a longer
// 64-bit block than this build knows. Either way only what arrived is copied.
rtnl_link_stats64 statistics(nlattr* const* attributes)
{
    rtnl_link_stats64 stats{};
    if (attributes[IFLA_STATS64] != nullptr) {
        nla_memcpy(&stats, attributes[IFLA_STATS64], sizeof stats);
    } else if (attributes[IFLA_STATS] != nullptr) {
        rtnl_link_stats narrow{};
        nla_memcpy(&narrow, attributes[IFLA_STATS], sizeof narrow);
        stats.rx_packets = narrow.rx_packets;
        stats.tx_packets = narrow.tx_packets;
        stats.rx_bytes = narrow.rx_bytes;
        stats.tx_bytes = narrow.tx_bytes;
        stats.rx_errors = narrow.rx_errors;
        stats.tx_errors = narrow.tx_errors;
        stats.rx_dropped = narrow.rx_dropped;
        stats.tx_dropped = narrow.tx_dropped;
        stats.multicast = narrow.multicast;
        stats.rx_nohandler = narrow.rx_nohandler;
    }
    return stats;
}

// Called by libnl for each RTM_NEWLINK of the dump. A message that does not
// parse is skipped, so one bad link cannot hide the others.
int onLink(nl_msg* message, void* received)
{
    nlmsghdr* header = nlmsg_hdr(message);
    if (header->nlmsg_type != RTM_NEWLINK || !nlmsg_valid_hdr(header, sizeof(ifinfomsg))) {
        return NL_SKIP;
    }
    std::array<nlattr*, IFLA_MAX + 1> attributes{};
    if (nlmsg_parse(header, sizeof(ifinfomsg), attributes.data(), IFLA_MAX, linkPolicy().data()) <
        0) {
        return NL_SKIP;
    }
    const auto* info = static_cast<const ifinfomsg*>(nlmsg_data(header));
    KernelLink link;
    link.index = info->ifi_index;
    link.arpType = info->ifi_type;
    link.flags = info->ifi_flags;
    link.mtu = attributes[IFLA_MTU] != nullptr ? nla_get_u32(attributes[IFLA_MTU]) : 0;
    link.name = text(attributes[IFLA_IFNAME]);
    link.alias = text(attributes[IFLA_IFALIAS]);
    if (const nlattr* address = attributes[IFLA_ADDRESS]; address != nullptr) {
        const auto* bytes = static_cast<const uint8_t*>(nla_data(address));
        link.address.assign(bytes, bytes + nla_len(address));
    }
    link.stats = statistics(attributes.data());
    static_cast<std::vector<KernelLink>*>(received)->push_back(std::move(link));
    return NL_OK;
}

}  // namespace

// One socket for the source's life; each snapshot sends one dump request on it.
struct NetlinkIfTableSource::Netlink
{
    nl_sock* socket = nullptr;
    std::vector<KernelLink> links;  // filled by onLink during a dump

    Netlink() = default;
    Netlink(const Netlink&) = delete;
    Netlink& operator=(const Netlink&) = delete;
    ~Netlink()
    {
        if (socket != nullptr) {
            nl_socket_free(socket);
        }
    }

    // The kernel may interrupt a dump while links change; such a dump is retried.
    static constexpr int kAttempts = 3;

    bool dump()
    {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            links.clear();
            ifinfomsg request{};
            request.ifi_family = AF_UNSPEC;
            if (nl_send_simple(socket, RTM_GETLINK, NLM_F_DUMP, &request, sizeof request) < 0) {
                return false;
            }
            const int result = nl_recvmsgs_default(socket);
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
        if (netlink->socket == nullptr || nl_connect(netlink->socket, NETLINK_ROUTE) < 0 ||
            nl_socket_modify_cb(netlink->socket, NL_CB_VALID, NL_CB_CUSTOM, onLink,
                                &netlink->links) < 0) {
            return nullptr;
        }
        return netlink;
    }
};

NetlinkIfTableSource::NetlinkIfTableSource(std::filesystem::path sysfsRoot)
    : sysfs_(std::move(sysfsRoot))
{
}

NetlinkIfTableSource::~NetlinkIfTableSource() = default;

LinkRow NetlinkIfTableSource::rowOf(const KernelLink& link,
                                    std::map<LinkKey, SysfsFacts>& facts) const
{
    LinkRow row;
    row.name = link.name;
    row.description = link.alias.empty() ? row.name : link.alias;
    row.index = static_cast<uint32_t>(link.index);
    const LinkKey key{link.index, row.name};
    const auto known = facts_.find(key);
    SysfsFacts fact;
    fact.wireless = known != facts_.end() ? known->second.wireless : sysfs_.isWireless(row.name);
    fact.flags = link.flags;
    if (known != facts_.end() && known->second.flags == link.flags) {
        fact.speed = known->second.speed;
    } else {
        fact.speed = speedCanBeKnown(link.flags, link.arpType) ? sysfs_.speedBits(row.name) : 0;
    }
    facts.emplace(key, fact);
    row.type = ianaIfType(link.arpType, fact.wireless);
    row.mtu = link.mtu;
    row.speed = fact.speed;
    row.physAddr = rowPhysicalAddress(link.address, link.arpType);
    row.adminStatus = adminStatus(link.flags);
    row.operStatus = operStatus(link.flags);
    const rtnl_link_stats64& stats = link.stats;
    // Linux counts multicast inside its received packets; the row keeps them apart.
    row.inOctets = stats.rx_bytes;
    row.inUcastPkts = stats.rx_packets - std::min(stats.rx_packets, stats.multicast);
    row.inNUcastPkts = stats.multicast;
    row.inDiscards = stats.rx_dropped;
    row.inErrors = stats.rx_errors;
    row.inUnknownProtos = stats.rx_nohandler;
    row.outOctets = stats.tx_bytes;
    // Linux keeps no count of multicast packets sent, and only the limit of the
    // transmit queue, not its length: those fields stay 0.
    row.outUcastPkts = stats.tx_packets;
    row.outDiscards = stats.tx_dropped;
    row.outErrors = stats.tx_errors;
    return row;
}

std::optional<std::vector<LinkRow>> NetlinkIfTableSource::dumpLinks()
{
    if (!netlink_) {
        netlink_ = Netlink::connect();
    }
    if (!netlink_ || !netlink_->dump()) {
        netlink_.reset();  // reconnect on the next snapshot
        return std::nullopt;
    }
    std::vector<LinkRow> rows;
    rows.reserve(netlink_->links.size());
    std::map<LinkKey, SysfsFacts> facts;  // only the links of this dump are kept
    for (const KernelLink& link : netlink_->links) {
        rows.push_back(rowOf(link, facts));
    }
    facts_ = std::move(facts);
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
