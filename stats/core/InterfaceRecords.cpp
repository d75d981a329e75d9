// SPDX-License-Identifier: MIT
#include "stats/core/InterfaceRecords.h"

#include <stdexcept>
#include <string>

namespace kuvell {
namespace {

[[noreturn]] void throwKeyNotFound(std::string_view key)
{
    throw std::invalid_argument("CInterfaces: records have no keys, so \"" + std::string(key) +
                                "\" names none; use a position");
}

}  // namespace

std::shared_ptr<InterfaceRecord> InterfaceRecords::add(std::shared_ptr<InterfaceRecord>& record)
{
    if (!record) {
        throw std::invalid_argument("CInterfaces: cannot add an empty record reference");
    }
    records_.push_back(std::move(record));
    record.reset();
    return records_.back();
}

std::size_t InterfaceRecords::checkedOffset(int64_t position) const
{
    if (position < 1 || position > static_cast<int64_t>(records_.size())) {
        throw std::out_of_range("CInterfaces: position " + std::to_string(position) +
                                " is outside 1.." + std::to_string(records_.size()));
    }
    return static_cast<std::size_t>(position - 1);
}

std::shared_ptr<InterfaceRecord> InterfaceRecords::item(int64_t indexKey) const
{
    return records_[checkedOffset(indexKey)];
}

std::shared_ptr<InterfaceRecord> InterfaceRecords::item(std::string_view indexKey) const
{
    throwKeyNotFound(indexKey);
}

int32_t InterfaceRecords::count() const { return static_cast<int32_t>(records_.size()); }

void InterfaceRecords::remove(int64_t indexKey)
{
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(checkedOffset(indexKey)));
}

void InterfaceRecords::remove(std::string_view indexKey) { throwKeyNotFound(indexKey); }

}  // namespace kuvell
