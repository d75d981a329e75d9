#pragma once
// An ordered collection of interface records. Records carry no keys: they are
// found by their 1-based position, in the order they were added.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "stats/core/CInterface.h"

namespace kuvell {

class CInterfaces
{
  public:
    using Records = std::vector<std::shared_ptr<CInterface>>;

    // Appends the record, returns it and empties the caller's reference, so a
    // caller reusing one variable starts every row with a fresh record. An empty
    // reference is refused (std::invalid_argument) and nothing is added.
    std::shared_ptr<CInterface> Add(std::shared_ptr<CInterface>& objInterface);

    // A position outside 1..Count throws std::out_of_range; a key text always
    // throws std::invalid_argument, as no record has a key. Either way the
    // collection is unchanged.
    std::shared_ptr<CInterface> Item(int64_t vntIndexKey) const;
    std::shared_ptr<CInterface> Item(std::string_view vntIndexKey) const;

    int32_t Count() const;

    // The records behind the removed one move up one position. Errors as Item.
    void Remove(int64_t vntIndexKey);
    void Remove(std::string_view vntIndexKey);

    // Walks the records from position 1 to Count (range-for).
    Records::const_iterator begin() const { return records_.begin(); }
    Records::const_iterator end() const { return records_.end(); }

  private:
    std::size_t CheckedOffset(int64_t position) const;

    Records records_;
};

}  // namespace kuvell
