// SPDX-License-Identifier: MIT
#include "stats/linux/LinkMapping.h"

#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>
#include <charconv>
#include <limits>

namespace kuvell {

uint32_t ianaIfType(unsigned arpType, bool wireless)
{
    if (wireless) {
        return kIfTypeWireless;
    }
    switch (arpType) {
        case ARPHRD_ETHER:
            return kIfTypeEthernet;
        case ARPHRD_LOOPBACK:
            return kIfTypeLoopback;
        case ARPHRD_PPP:
            return kIfTypePpp;
        case ARPHRD_TUNNEL:
        case ARPHRD_TUNNEL6:
        case ARPHRD_SIT:
        case ARPHRD_IPGRE:
        case ARPHRD_IP6GRE:
        case ARPHRD_NONE:  // tun and WireGuard devices
            return kIfTypeTunnel;
        default:
            return kIfTypeOther;
    }
}

uint32_t adminStatus(unsigned flags)
{
    return (flags & IFF_UP) != 0 ? kAdminStatusUp : kAdminStatusDown;
}

uint32_t operStatus(unsigned flags)
{
    if ((flags & IFF_UP) == 0) {
        return kOperStatusNonOperational;
    }
    return (flags & IFF_RUNNING) != 0 ? kOperStatusOperational : kOperStatusDisconnected;
}

std::vector<uint8_t> rowPhysicalAddress(std::span<const uint8_t> hardwareAddress, unsigned arpType)
{
    const bool allZero = std::ranges::all_of(hardwareAddress, [](uint8_t b) { return b == 0; });
    if (arpType == ARPHRD_LOOPBACK || allZero) {
        return {};
    }
    const auto kept = hardwareAddress.first(std::min<std::size_t>(hardwareAddress.size(), 8));
    return {kept.begin(), kept.end()};
}

bool speedCanBeKnown(unsigned flags, unsigned arpType)
{
    return (flags & IFF_UP) != 0 && arpType != ARPHRD_LOOPBACK;
}

std::optional<uint32_t> speedBitsFromMbitText(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    int64_t mbit = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mbit);
    if (error == std::errc::result_out_of_range && !text.empty() && text.front() != '-') {
        return std::numeric_limits<uint32_t>::max();
    }
    if (error != std::errc{} || end != text.data() + text.size() || mbit <= 0) {
        return std::nullopt;
    }
    constexpr int64_t kBitsPerMbit = 1'000'000;
    constexpr int64_t kMax = std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(mbit > kMax / kBitsPerMbit ? kMax : mbit * kBitsPerMbit);
}

}  // namespace kuvell
