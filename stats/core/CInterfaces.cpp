#include "stats/core/CInterfaces.h"

#include <stdexcept>
#include <string>

namespace kuvell {
namespace {

[[noreturn]] void ThrowKeyNotFound(std::string_view key)
{
    throw std::invalid_argument("CInterfaces: records have no keys, so \"" + std::string(key) +
                                "\" names none; use a position");
}

}  // namespace

std::shared_ptr<CInterface> CInterfaces::Add(std::shared_ptr<CInterface>& objInterface)
{
    if (!objInterface) {
        throw std::invalid_argument("CInterfaces: cannot add an empty record reference");
    }
    records_.push_back(std::move(objInterface));
    objInterface.reset();
    return records_.back();
}

std::size_t CInterfaces::CheckedOffset(int64_t position) const
{
    if (position < 1 || position > static_cast<int64_t>(records_.size())) {
        throw std::out_of_range("CInterfaces: position " + std::to_string(position) +
                                " is outside 1.." + std::to_string(records_.size()));
    }
    return static_cast<std::size_t>(position - 1);
}

std::shared_ptr<CInterface> CInterfaces::Item(int64_t vntIndexKey) const
{
    return records_[CheckedOffset(vntIndexKey)];
}

std::shared_ptr<CInterface> CInterfaces::Item(std::string_view vntIndexKey) const
{
    ThrowKeyNotFound(vntIndexKey);
}

int32_t CInterfaces::Count() const { return static_cast<int32_t>(records_.size()); }

void CInterfaces::Remove(int64_t vntIndexKey)
{
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(CheckedOffset(vntIndexKey)));
}

void CInterfaces::Remove(std::string_view vntIndexKey) { ThrowKeyNotFound(vntIndexKey); }

}  // namespace kuvell
