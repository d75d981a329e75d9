// SPDX-License-Identifier: MIT
#pragma once
// Snapshots of the interface table: the rows as records, and the traffic
// counters the sampling tick turns into rates.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "stats/core/IfTableParser.h"
#include "stats/core/IfTableSource.h"
#include "stats/core/InterfaceRecords.h"

namespace kuvell {

class InterfaceTable
{
  public:
    using Notifier = std::function<void(std::string_view message)>;

    static constexpr std::string_view kNotSupportedMessage =
        "IP HlpAPI is not supported by your system.";

    // notify shows kNotSupportedMessage to the user; it may be empty.
    InterfaceTable(std::shared_ptr<IfTableSource> source, Notifier notify);

    // Takes a new snapshot into a new collection, which becomes the current one.
    // Collections returned earlier are left as they are.
    std::shared_ptr<InterfaceRecords> interfaces();
    // Makes vData the current collection; takes no snapshot.
    void interfaces(std::shared_ptr<InterfaceRecords> vData);

    // Later snapshots take their counters from the row with this name or
    // description (see counterRowIndex); empty: from the last row with a
    // physical address.
    void chooseInterface(std::string nameOrDescription)
    {
        chosenInterface_ = std::move(nameOrDescription);
    }
    const std::string& chosenInterface() const { return chosenInterface_; }

    // The table's bytes as the source has them now, for a list of the
    // interfaces; empty when it has none. Neither the counters nor the current
    // collection change, and no message is shown.
    std::vector<uint8_t> tableNow();

    // The in- and out-octet counters of the chosen row in the most recent
    // snapshot; 0 after an empty or failed one, or when the chosen interface is
    // not in the table. Never snapshots.
    int32_t bytesReceived() const { return counters_.received; }
    int32_t bytesSent() const { return counters_.sent; }
    // Both counters and the interface they came from.
    const TrafficCounters& counters() const { return counters_; }

  private:
    void refreshInterfaces();
    std::vector<uint8_t> fetchTable(bool& notSupported);
    void notifyNotSupported();

    std::shared_ptr<IfTableSource> source_;
    Notifier notify_;
    bool notifying_ = false;
    std::shared_ptr<InterfaceRecords> current_;
    TrafficCounters counters_;
    std::string chosenInterface_;
};

}  // namespace kuvell
