// SPDX-License-Identifier: MIT
#include "stats/linux/SysfsNet.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

#include "stats/linux/LinkMapping.h"

namespace kuvell {

SysfsNet::SysfsNet(const std::filesystem::path& root)
    : root_(::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

SysfsNet::~SysfsNet()
{
    if (root_ >= 0) {
        ::close(root_);
    }
}

std::string SysfsNet::entry(std::string_view interfaceName, std::string_view file)
{
    // Kernel names never hold '/' and are never "." or "..", but a name is
    // outside data: never let it point elsewhere.
    if (interfaceName.empty() || interfaceName == "." || interfaceName == ".." ||
        interfaceName.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
        return {};
    }
    std::string entry(interfaceName);
    entry += '/';
    entry += file;
    return entry;
}

uint32_t SysfsNet::speedBits(std::string_view interfaceName) const
{
    const std::string path = entry(interfaceName, "speed");
    if (path.empty() || root_ < 0) {
        return 0;
    }
    // Plain system calls: this runs for every link once a second.
    const int fd = ::openat(root_, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    std::array<char, 32> text{};
    const ssize_t length = ::read(fd, text.data(), text.size());
    ::close(fd);
    if (length <= 0) {
        return 0;  // EINVAL: the driver does not know the speed
    }
    return speedBitsFromMbitText(std::string_view(text.data(), static_cast<std::size_t>(length)))
        .value_or(0);
}

bool SysfsNet::isWireless(std::string_view interfaceName) const
{
    const std::string path = entry(interfaceName, "wireless");
    return !path.empty() && root_ >= 0 && ::faccessat(root_, path.c_str(), F_OK, 0) == 0;
}

}  // namespace kuvell
