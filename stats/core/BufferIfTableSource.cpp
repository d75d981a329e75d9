// SPDX-License-Identifier: MIT
#include "stats/core/BufferIfTableSource.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "stats/core/IfTableSort.h"

namespace kuvell {

BufferIfTableSource::BufferIfTableSource(std::vector<uint8_t> table) : table_(std::move(table))
{
    if (table_.size() > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("interface table larger than a 32-bit size");
    }
}

IfTableResult serveIfTable(std::span<const uint8_t> taken, uint8_t* table, uint32_t& size,
                           bool sort)
{
    // Never more than a 32-bit size can tell the caller to allocate.
    const auto needed = static_cast<uint32_t>(
        std::min<std::size_t>(taken.size(), std::numeric_limits<uint32_t>::max()));
    if (table == nullptr || size < needed) {
        size = needed;
        return IfTableResult::BufferTooSmall;
    }
    std::copy_n(taken.begin(), needed, table);
    size = needed;
    if (sort) {
        sortIfTableByIndex(std::span<uint8_t>(table, needed));
    }
    return IfTableResult::Ok;
}

IfTableResult BufferIfTableSource::getIfTable(uint8_t* table, uint32_t& size, bool sort)
{
    return serveIfTable(table_, table, size, sort);
}

}  // namespace kuvell
