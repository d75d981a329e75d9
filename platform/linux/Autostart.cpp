// SPDX-License-Identifier: MIT
#include "platform/Autostart.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/ConfigHome.h"
#include "platform/RegularFile.h"

namespace kuvell {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRunningExecutable = "/proc/self/exe";

// Well-formed UTF-8 only (no overlong forms, surrogates or values past
// U+10FFFF): desktops refuse an entry that holds anything else, and a path
// turned into other characters would start nothing.
bool isUtf8(std::string_view text)
{
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        if (length == 0 || text.size() - at < length) return false;
        char32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            if ((byte & 0xC0) != 0x80) return false;
            value = value << 6 | (byte & 0x3Fu);
        }
        if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        at += length;
    }
    return true;
}

// The Exec value for one program path without arguments: the path quoted as a
// whole (quoting is always allowed and spares a list of reserved characters),
// '%' doubled so it is no field code, then the string escapes of the file
// format on top, since readers undo those first. Control characters other than
// tab, newline and carriage return cannot be written at all.
std::optional<std::string> execValue(const std::string& program)
{
    if (!isUtf8(program)) return std::nullopt;
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';

    std::string escaped;
    for (const char c : quoted) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
                escaped += c;
        }
    }
    return escaped;
}

// The link's target, or empty when it cannot be read.
std::string linkTarget(const char* link)
{
    std::error_code error;
    return fs::read_symlink(link, error).string();
}

// Read as the program starts, before anything can move or replace the file.
const std::string startedFrom = linkTarget(kRunningExecutable);

}  // namespace

std::string defaultAutostartEntryPath() { return configHome() + "/autostart/kuvell.desktop"; }

std::string runningExecutablePath()
{
    // For a file that is gone the kernel's link names it with " (deleted)" added.
    const std::string linked = linkTarget(kRunningExecutable);
    std::error_code error;
    if (!linked.empty() && fs::exists(linked, error)) return linked;
    return startedFrom;
}

Result writeRunValue(const std::string& entryPath, const std::string& executablePath)
{
    if (entryPath.empty() || executablePath.empty()) {
        return Result::failure("no autostart entry or no program to start");
    }
    std::error_code error;
    const fs::path program = fs::absolute(executablePath, error).lexically_normal();
    const std::optional<std::string> exec = error ? std::nullopt : execValue(program.string());
    if (!exec) {
        return Result::failure("the program's path cannot be written into an autostart entry");
    }
    const fs::path folder = fs::absolute(entryPath, error).parent_path();
    if (!error) fs::create_directories(folder, error);
    if (error) return Result::failure("the autostart folder cannot be made");
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Kuvell\n"
        "Exec=" +
        *exec +
        "\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    // Replaced in one step, so a reader never sees half an entry and a failed
    // write leaves the old one; and, like the store, never through a link
    // another user planted.
    return replaceRegularFile(entryPath, entry);
}

Result deleteRunValue(const std::string& entryPath)
{
    // ENOTDIR: a file where a folder on the way should be, so no entry either.
    if (entryPath.empty() || ::unlink(entryPath.c_str()) == 0 || errno == ENOENT ||
        errno == ENOTDIR) {
        return Result::success();
    }
    return Result::failure("the autostart entry cannot be removed");
}

}  // namespace kuvell
