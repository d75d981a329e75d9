// SPDX-License-Identifier: MIT
#include "stats/core/InterfaceTable.h"

#include "stats/core/IfTableLayout.h"

namespace kuvell {

InterfaceTable::InterfaceTable(std::shared_ptr<IfTableSource> source, Notifier notify)
    : source_(std::move(source)), notify_(std::move(notify))
{
}

std::shared_ptr<InterfaceRecords> InterfaceTable::interfaces()
{
    current_ = std::make_shared<InterfaceRecords>();
    // Held here as well: the notifier may run a nested event loop whose tick
    // replaces current_ before this snapshot returns.
    const auto snapshot = current_;
    refreshInterfaces();
    return snapshot;
}

void InterfaceTable::interfaces(std::shared_ptr<InterfaceRecords> vData)
{
    current_ = std::move(vData);
}

void InterfaceTable::refreshInterfaces()
{
    counters_ = {};
    const auto into = current_;
    if (!into) {
        return;
    }
    bool notSupported = false;
    const std::vector<uint8_t> buffer = fetchTable(notSupported);
    if (notSupported) {
        notifyNotSupported();
        return;
    }
    // The buffer's own length bounds every read, whatever the source wrote into size.
    if (!buffer.empty()) {
        counters_ = parseIfTable(buffer, *into, chosenInterface_);
    }
}

std::vector<uint8_t> InterfaceTable::tableNow()
{
    bool notSupported = false;
    return fetchTable(notSupported);
}

std::vector<uint8_t> InterfaceTable::fetchTable(bool& notSupported)
{
    if (!source_) {
        return {};
    }
    uint32_t size = 0;
    if (source_->getIfTable(nullptr, size, false) == IfTableResult::NotSupported) {
        notSupported = true;
        return {};
    }
    // Nothing to read in an empty table, and a size no table can reach is
    // treated as a failed fill rather than trusted with a huge allocation.
    if (size == 0 || size > kMaxIfTableSize) {
        return {};
    }
    std::vector<uint8_t> buffer(size);
    if (source_->getIfTable(buffer.data(), size, false) != IfTableResult::Ok) {
        return {};
    }
    return buffer;
}

void InterfaceTable::notifyNotSupported()
{
    // A notifier that is still open (a modal box whose event loop runs the next
    // tick) must not be opened a second time.
    if (notifying_ || !notify_) {
        return;
    }
    notifying_ = true;
    struct Reset
    {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{notifying_};
    notify_(kNotSupportedMessage);
}

}  // namespace kuvell
