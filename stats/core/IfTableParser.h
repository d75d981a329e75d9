// SPDX-License-Identifier: MIT
#pragma once
// Turns an interface table buffer into records and picks the traffic counters.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "stats/core/IfTableView.h"
#include "stats/core/InterfaceRecords.h"

namespace kuvell {

// The interface whose counters a snapshot took. Counters run on only while the
// same interface is measured: one that was re-created (a new index) or another
// one starts from counters that say nothing about the last tick.
struct CountedInterface
{
    int32_t index = 0;
    std::string name;
    bool operator==(const CountedInterface&) const = default;
};

struct TrafficCounters
{
    int32_t received = 0;
    int32_t sent = 0;
    std::optional<CountedInterface> from;  // nullopt: no row qualified
    // How a user knows that row: its description, or its name where it has
    // none (on Windows the name is a device path, the description the adapter).
    std::string shownAs;
};

// The 8-bit description, cut to the row's description length (a terminating
// NUL that the length counts stays in the text).
std::string descriptionText(const IfRowView& row);

// The name as kuvell-ifstat prints it: the UTF-16 text up to its first NUL.
std::string interfaceNameText(const IfRowView& row);

// The description up to its first NUL, as kuvell-ifstat prints it.
std::string shownDescriptionText(const IfRowView& row);

// Dash-separated upper-case hexadecimal without leading zeros, a zero byte as
// "00": 00 0C 29 gives "00-C-29".
std::string adapterAddressText(std::span<const uint8_t> address);

// The address bytes the row declares as valid, at most the 8 the field holds;
// empty when the declared length is 0 or negative.
std::span<const uint8_t> physicalAddress(const IfRowView& row);

// The row whose counters a snapshot takes. With no chosen interface (empty
// text), the last row with a physical address. With one, the row whose name or
// description is exactly that text, with or without an address; a name wins
// over another row's description, as names are unique and descriptions are not.
// nullopt when no row qualifies.
std::optional<std::size_t> counterRowIndex(const IfTableView& table,
                                           std::string_view chosenInterface);

// Appends one record per row that lies wholly inside the buffer, in buffer
// order. Only rows with a physical address get more than their description.
// The counters are those of counterRowIndex's row, 0 and 0 when there is none.
TrafficCounters parseIfTable(std::span<const uint8_t> buffer, InterfaceRecords& into,
                             std::string_view chosenInterface = {});

}  // namespace kuvell
