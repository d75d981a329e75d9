// SPDX-License-Identifier: MIT
#include "stats/core/RetryingIfTableSource.h"

#include "stats/core/BufferIfTableSource.h"
#include "stats/core/IfTableLayout.h"

namespace kuvell {

RetryingIfTableSource::RetryingIfTableSource(std::shared_ptr<IfTableSource> call)
    : call_(std::move(call))
{
}

IfTableResult RetryingIfTableSource::take()
{
    pending_.reset();
    uint32_t size = 0;
    // Any answer but NotSupported is a size report, as for every other source.
    if (call_->getIfTable(nullptr, size, false) == IfTableResult::NotSupported) {
        return IfTableResult::NotSupported;
    }
    for (int fill = 0; fill <= kRetries; ++fill) {
        if (size == 0 || size > kMaxIfTableSize) {
            break;
        }
        std::vector<uint8_t> table(size);
        const IfTableResult result = call_->getIfTable(table.data(), size, false);
        if (result == IfTableResult::Ok) {
            pending_ = std::move(table);
            return result;
        }
        if (result != IfTableResult::BufferTooSmall) {
            break;
        }
    }
    // A failed fill is no refusal of the table: the caller sees an empty one.
    return IfTableResult::BufferTooSmall;
}

IfTableResult RetryingIfTableSource::getIfTable(uint8_t* table, uint32_t& size, bool sort)
{
    if (table == nullptr || !pending_) {
        if (const IfTableResult result = take(); result != IfTableResult::Ok) {
            size = 0;
            return result;
        }
    }
    const IfTableResult result = serveIfTable(*pending_, table, size, sort);
    if (result == IfTableResult::Ok) {
        pending_.reset();  // the next snapshot takes the table afresh
    }
    return result;
}

}  // namespace kuvell
