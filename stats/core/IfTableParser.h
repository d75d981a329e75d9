#pragma once
// Turns an interface table buffer into records and picks the traffic counters.
#include <cstdint>
#include <span>
#include <string>

#include "stats/core/InterfaceRecords.h"
#include "stats/core/IfTableView.h"

namespace kuvell {

struct TrafficCounters
{
    int32_t received = 0;
    int32_t sent = 0;
};

// The 8-bit description, cut to the row's description length (a terminating
// NUL that the length counts stays in the text).
std::string descriptionText(const IfRowView& row);

// Dash-separated upper-case hexadecimal without leading zeros, a zero byte as
// "00": 00 0C 29 gives "00-C-29".
std::string adapterAddressText(std::span<const uint8_t> address);

// The address bytes the row declares as valid, at most the 8 the field holds;
// empty when the declared length is 0 or negative.
std::span<const uint8_t> physicalAddress(const IfRowView& row);

// Appends one record per row that lies wholly inside the buffer, in buffer
// order. Only rows with a physical address get more than their description,
// and the counters are those of the last such row (0 and 0 when there is none).
TrafficCounters parseIfTable(std::span<const uint8_t> buffer, InterfaceRecords& into);

}  // namespace kuvell
