// SPDX-License-Identifier: MIT
#pragma once
// A table call that answers afresh on every call (the platform's own) may grow
// between the size query and the fill, and then refuse the fill. This source
// takes the whole table at the size query, asking again while it grows, and
// serves the fill from that one table, so size and rows always agree.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "stats/core/IfTableSource.h"

namespace kuvell {

class RetryingIfTableSource : public IfTableSource
{
  public:
    // Fills after the first that still find the table too small; then the
    // snapshot gives up rather than chase a table that keeps growing.
    static constexpr int kRetries = 3;

    explicit RetryingIfTableSource(std::shared_ptr<IfTableSource> call);

    // A call that refuses the size query with NotSupported is passed on; a fill
    // that fails gives BufferTooSmall with size 0, an empty table to the caller.
    // A fill without a size query takes the table afresh.
    IfTableResult getIfTable(uint8_t* table, uint32_t& size, bool sort) override;

  private:
    IfTableResult take();

    std::shared_ptr<IfTableSource> call_;
    std::optional<std::vector<uint8_t>> pending_;
};

}  // namespace kuvell
