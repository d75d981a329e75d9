// SPDX-License-Identifier: MIT
#pragma once
// The interface table of a Linux system: the kernel's links dumped through
// libnl-3's message API, with speed and wireless from sysfs.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stats/core/IfTableSource.h"
#include "stats/linux/LinkRow.h"
#include "stats/linux/SysfsNet.h"

namespace kuvell {

class NetlinkIfTableSource : public IfTableSource
{
  public:
    explicit NetlinkIfTableSource(std::filesystem::path sysfsRoot = "/sys/class/net");
    ~NetlinkIfTableSource() override;
    NetlinkIfTableSource(const NetlinkIfTableSource&) = delete;
    NetlinkIfTableSource& operator=(const NetlinkIfTableSource&) = delete;

    // One dump per snapshot: the size query dumps the links and the fill that
    // follows serves that same dump, so size and rows always agree. A fill
    // without a size query dumps afresh. A kernel that cannot be asked answers
    // IfTableResult::NotSupported.
    IfTableResult getIfTable(uint8_t* table, uint32_t& size, bool sort) override;

    // The links in the kernel's dump order; nullopt when the kernel cannot be asked.
    std::optional<std::vector<LinkRow>> dumpLinks();

    struct KernelLink;  // one link as the dump tells it, before any sysfs read

  private:
    struct Netlink;
    using LinkKey = std::pair<int, std::string>;  // ifindex and name
    // What sysfs said of a link. A link never becomes wireless or stops being
    // so; its speed is read again only when its flags change (a link going up,
    // or its carrier coming or going), not every second.
    struct SysfsFacts
    {
        bool wireless = false;
        unsigned flags = 0;
        uint32_t speed = 0;
    };

    std::optional<std::vector<uint8_t>> encodedDump();
    LinkRow rowOf(const KernelLink& link, std::map<LinkKey, SysfsFacts>& facts) const;

    std::unique_ptr<Netlink> netlink_;
    SysfsNet sysfs_;
    std::optional<std::vector<uint8_t>> pending_;
    std::map<LinkKey, SysfsFacts> facts_;  // the links of the last dump only
};

}  // namespace kuvell
