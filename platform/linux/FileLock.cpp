// SPDX-License-Identifier: MIT
#include "platform/FileLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <ctime>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/linux/Descriptor.h"

namespace kuvell {

namespace {

using namespace std::chrono_literals;

constexpr auto kWait = 2000ms;
constexpr auto kRetryPause = 50ms;
constexpr std::time_t kStaleSeconds = 10;
constexpr std::string_view kProgramName = "kuvell";

std::string systemReason(int error) { return std::generic_category().message(error); }

std::string hostName()
{
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

// What stands at the path: nothing, a regular file, or something no lock is.
enum class Found { Nothing, LockFile, NotRegular };

Found lookAt(const std::string& path, struct stat& info)
{
    if (::lstat(path.c_str(), &info) != 0) return Found::Nothing;
    return S_ISREG(info.st_mode) ? Found::LockFile : Found::NotRegular;
}

// The first lines of a lock file; a lock is a few dozen bytes.
std::string contentsOf(const std::string& path)
{
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    char buffer[512];
    const ssize_t count = fd.get() < 0 ? -1 : ::read(fd.get(), buffer, sizeof buffer);
    return count > 0 ? std::string(buffer, static_cast<std::size_t>(count)) : std::string();
}

// Whether the holder named in the file is gone. Its id means something only
// on this machine; a lock without a readable id is judged by its age alone.
bool holderIsGone(const std::string& contents)
{
    const std::size_t pidEnd = contents.find('\n');
    if (pidEnd == std::string::npos) return false;
    const std::size_t nameEnd = contents.find('\n', pidEnd + 1);
    if (nameEnd == std::string::npos) return false;
    const std::size_t hostEnd = contents.find('\n', nameEnd + 1);
    const std::string_view host = std::string_view(contents).substr(
        nameEnd + 1, hostEnd == std::string::npos ? std::string::npos : hostEnd - nameEnd - 1);
    if (!host.empty() && host != hostName()) return false;
    long pid = 0;
    const auto [end, error] = std::from_chars(contents.data(), contents.data() + pidEnd, pid);
    if (error != std::errc() || end != contents.data() + pidEnd || pid <= 0) return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool isStale(const std::string& path, const struct stat& info)
{
    const std::time_t age = std::time(nullptr) - info.st_mtime;
    return age > kStaleSeconds || age < -kStaleSeconds || holderIsGone(contentsOf(path));
}

// Removes the lock file found earlier, unless its holder still holds it (a live
// QLockFile keeps an flock on it) or another copy has replaced it meanwhile.
bool removeLeftOver(const std::string& path, const struct stat& found)
{
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT;
    struct stat opened
    {
    };
    return ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &opened) == 0 &&
           opened.st_ino == found.st_ino && opened.st_dev == found.st_dev &&
           ::unlink(path.c_str()) == 0;
}

Result notRegular(const std::string& path)
{
    return Result::failure("the lock file " + path + " is not a regular file");
}

}  // namespace

FileLock::FileLock(std::string path) : path_(std::move(path)) {}

FileLock::~FileLock()
{
    if (descriptor_ < 0) return;
    ::unlink(path_.c_str());
    ::close(descriptor_);
}

Result FileLock::take()
{
    if (isHeld()) return Result::success();
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    bool waited = false;
    for (;;) {
        const int fd =
            ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // The flock tells an older Kuvell's QLockFile that the holder lives.
            ::flock(fd, LOCK_EX | LOCK_NB);
            const std::string contents = std::to_string(::getpid()) + '\n' +
                                         std::string(kProgramName) + '\n' + hostName() + '\n';
            if (::write(fd, contents.data(), contents.size()) ==
                static_cast<ssize_t>(contents.size())) {
                descriptor_ = fd;
                return Result::success();
            }
            const int error = errno;
            ::unlink(path_.c_str());
            ::close(fd);
            return Result::failure("the lock file " + path_ +
                                   " cannot be created: " + systemReason(error ? error : ENOSPC));
        }
        if (errno != EEXIST) {
            return Result::failure("the lock file " + path_ +
                                   " cannot be created: " + systemReason(errno));
        }
        struct stat info
        {
        };
        const Found found = lookAt(path_, info);
        if (found == Found::NotRegular) return notRegular(path_);
        if (found == Found::Nothing) continue;  // released a moment ago
        if (isStale(path_, info) && removeLeftOver(path_, info)) continue;
        if (waited)
            return Result::failure("the lock file " + path_ + " is held by another program");
        if (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kRetryPause);
            continue;
        }
        // A live holder writes its id at once: a lock still empty after the wait is left over.
        waited = true;
        if (info.st_size == 0 && removeLeftOver(path_, info)) continue;
        return Result::failure("the lock file " + path_ + " is held by another program");
    }
}

}  // namespace kuvell
