// SPDX-License-Identifier: MIT
#include "platform/ConfigHome.h"

#include <cstdlib>
#include <filesystem>

namespace kuvell {

namespace {

// Without "." and ".." steps, doubled slashes or a trailing slash, so that the
// names built on it are clean too.
std::string cleanPath(const std::string& path)
{
    std::string cleaned = std::filesystem::path(path).lexically_normal().string();
    if (cleaned.size() > 1 && cleaned.back() == '/') cleaned.pop_back();
    return cleaned;
}

}  // namespace

std::string configHome()
{
    const char* const configured = std::getenv("XDG_CONFIG_HOME");
    if (configured != nullptr && configured[0] == '/') return cleanPath(configured);
    const char* const home = std::getenv("HOME");
    return cleanPath(std::string(home != nullptr && home[0] != '\0' ? home : "/") + "/.config");
}

}  // namespace kuvell
