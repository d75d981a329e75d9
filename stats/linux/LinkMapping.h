// SPDX-License-Identifier: MIT
#pragma once
// How a Linux link's properties map to the codes an interface table row uses.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kuvell {

inline constexpr uint32_t kIfTypeOther = 1;
inline constexpr uint32_t kIfTypeEthernet = 6;
inline constexpr uint32_t kIfTypePpp = 23;
inline constexpr uint32_t kIfTypeLoopback = 24;
inline constexpr uint32_t kIfTypeWireless = 71;
inline constexpr uint32_t kIfTypeTunnel = 131;

inline constexpr uint32_t kAdminStatusUp = 1;
inline constexpr uint32_t kAdminStatusDown = 2;
inline constexpr uint32_t kOperStatusNonOperational = 0;
inline constexpr uint32_t kOperStatusDisconnected = 2;
inline constexpr uint32_t kOperStatusOperational = 5;

// The IANA ifType for an ARPHRD_* hardware type; any wireless link is 71.
uint32_t ianaIfType(unsigned arpType, bool wireless);

// From the IFF_UP / IFF_RUNNING flags: the kernel's operstate says "unknown"
// for loopback and many virtual links, the flags never do.
uint32_t adminStatus(unsigned flags);
uint32_t operStatus(unsigned flags);

// The address a row declares: none for loopback or an all-zero address, else
// at most the 8 bytes the row can hold.
std::vector<uint8_t> rowPhysicalAddress(std::span<const uint8_t> hardwareAddress, unsigned arpType);

// Whether reading the speed can tell anything: the kernel answers EINVAL for
// a link that is not up and for loopback (it has no link settings), so those
// reads are skipped as known-unknown.
bool speedCanBeKnown(unsigned flags, unsigned arpType);

// The text of /sys/class/net/<if>/speed (Mbit/s) in bit/s, saturated to 32
// bits; nullopt for text that is not a positive speed (an unknown speed reads -1).
std::optional<uint32_t> speedBitsFromMbitText(std::string_view text);

}  // namespace kuvell
