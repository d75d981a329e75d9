#include "stats/linux/SysfsNet.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

#include "stats/linux/LinkMapping.h"

namespace kuvell {

std::filesystem::path SysfsNet::Entry(std::string_view interfaceName, std::string_view file) const
{
    // Kernel names never hold '/' and are never "." or "..", but a name is
    // outside data: never let it point elsewhere.
    if (interfaceName.empty() || interfaceName == "." || interfaceName == ".." ||
        interfaceName.find('/') != std::string_view::npos ||
        interfaceName.find('\0') != std::string_view::npos) {
        return {};
    }
    return root_ / interfaceName / file;
}

uint32_t SysfsNet::SpeedBits(std::string_view interfaceName) const
{
    const std::filesystem::path path = Entry(interfaceName, "speed");
    if (path.empty()) {
        return 0;
    }
    // Plain system calls: this runs for every link once a second.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    std::array<char, 32> text{};
    const ssize_t length = ::read(fd, text.data(), text.size());
    ::close(fd);
    if (length <= 0) {
        return 0;  // EINVAL: the driver does not know the speed
    }
    return SpeedBitsFromMbitText(std::string_view(text.data(), static_cast<std::size_t>(length)))
        .value_or(0);
}

bool SysfsNet::IsWireless(std::string_view interfaceName) const
{
    const std::filesystem::path path = Entry(interfaceName, "wireless");
    return !path.empty() && ::access(path.c_str(), F_OK) == 0;
}

}  // namespace kuvell
