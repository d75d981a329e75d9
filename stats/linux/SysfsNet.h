#pragma once
// The per-link facts only sysfs tells: link speed and whether a link is wireless.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace kuvell {

class SysfsNet
{
  public:
    explicit SysfsNet(std::filesystem::path root = "/sys/class/net") : root_(std::move(root)) {}

    // bit/s, read afresh on every call; 0 when unknown or unreadable.
    uint32_t SpeedBits(std::string_view interfaceName) const;
    bool IsWireless(std::string_view interfaceName) const;

  private:
    // An empty path for a name that could lead out of the root.
    std::filesystem::path Entry(std::string_view interfaceName, std::string_view file) const;

    std::filesystem::path root_;
};

}  // namespace kuvell
