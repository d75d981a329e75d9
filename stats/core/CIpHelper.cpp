#include "stats/core/CIpHelper.h"

#include <vector>

#include "stats/core/IfTableLayout.h"

namespace kuvell {

CIpHelper::CIpHelper(std::shared_ptr<IfTableSource> source, Notifier notify)
    : source_(std::move(source)), notify_(std::move(notify))
{
}

std::shared_ptr<CInterfaces> CIpHelper::Interfaces()
{
    current_ = std::make_shared<CInterfaces>();
    // Held here as well: the notifier may run a nested event loop whose tick
    // replaces current_ before this snapshot returns.
    const auto snapshot = current_;
    RefreshInterfaces();
    return snapshot;
}

void CIpHelper::Interfaces(std::shared_ptr<CInterfaces> vData) { current_ = std::move(vData); }

void CIpHelper::RefreshInterfaces()
{
    counters_ = {};
    const auto into = current_;
    if (!source_ || !into) {
        return;
    }
    uint32_t size = 0;
    if (source_->GetIfTable(nullptr, size, false) == kIfTableNotSupported) {
        NotifyNotSupported();
        return;
    }
    // Nothing to read in an empty table, and a size no table can reach is
    // treated as a failed fill rather than trusted with a huge allocation.
    if (size == 0 || size > kMaxIfTableSize) {
        return;
    }
    std::vector<uint8_t> buffer(size);
    if (source_->GetIfTable(buffer.data(), size, false) != kIfTableOk) {
        return;
    }
    // The buffer's own length bounds every read, whatever the source wrote into size.
    counters_ = ParseIfTable(buffer, *into);
}

void CIpHelper::NotifyNotSupported()
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
