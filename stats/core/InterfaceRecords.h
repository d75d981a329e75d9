// SPDX-License-Identifier: MIT
#pragma once
// An ordered collection of interface records. Records carry no keys: they are
// found by their 1-based position, in the order they were added.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "stats/core/InterfaceRecord.h"

namespace kuvell {

class InterfaceRecords
{
  public:
    using Records = std::vector<std::shared_ptr<InterfaceRecord>>;

    // Appends the record, returns it and empties the caller's reference, so a
    // caller reusing one variable starts every row with a fresh record. An empty
    // reference is refused (std::invalid_argument) and nothing is added.
    std::shared_ptr<InterfaceRecord> add(std::shared_ptr<InterfaceRecord>& record);

    // A position outside 1..Count throws std::out_of_range; a key text always
    // throws std::invalid_argument, as no record has a key. Either way the
    // collection is unchanged.
    std::shared_ptr<InterfaceRecord> item(int64_t indexKey) const;
    std::shared_ptr<InterfaceRecord> item(std::string_view indexKey) const;

    int32_t count() const;

    // The records behind the removed one move up one position. Errors as Item.
    void remove(int64_t indexKey);
    void remove(std::string_view indexKey);

    // Walks the records from position 1 to Count (range-for).
    Records::const_iterator begin() const { return records_.begin(); }
    Records::const_iterator end() const { return records_.end(); }

  private:
    std::size_t checkedOffset(int64_t position) const;

    Records records_;
};

}  // namespace kuvell
