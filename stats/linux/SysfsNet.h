// SPDX-License-Identifier: MIT
#pragma once
// The per-link facts only sysfs tells: link speed and whether a link is wireless.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kuvell {

class SysfsNet
{
  public:
    // The root stays open, so each read walks only the link's own entry.
    explicit SysfsNet(const std::filesystem::path& root = "/sys/class/net");
    ~SysfsNet();
    SysfsNet(const SysfsNet&) = delete;
    SysfsNet& operator=(const SysfsNet&) = delete;

    // bit/s, read afresh on every call; 0 when unknown or unreadable.
    uint32_t speedBits(std::string_view interfaceName) const;
    bool isWireless(std::string_view interfaceName) const;

  private:
    // An empty text for a name that could lead out of the root.
    static std::string entry(std::string_view interfaceName, std::string_view file);

    int root_ = -1;
};

}  // namespace kuvell
