// SPDX-License-Identifier: MIT
#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <system_error>

namespace kuvell {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

std::string systemReason(int error) { return std::generic_category().message(error); }

std::string notRegularReason(mode_t mode)
{
    if (S_ISDIR(mode)) return "it is a folder, not a regular file";
    if (S_ISFIFO(mode)) return "it is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is not a regular file";
}

class Descriptor
{
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // The result of close() matters for a write: some file systems report a
    // full disk only there.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

FileRead readFailure(FileReadOutcome outcome, std::string reason)
{
    FileRead result;
    result.outcome = outcome;
    result.reason = std::move(reason);
    return result;
}

FileRead tooLarge(std::size_t maxBytes)
{
    return readFailure(FileReadOutcome::TooLarge,
                       "it is larger than " + std::to_string(maxBytes) + " bytes");
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside target, so that the rename replacing target is atomic.
// O_EXCL with the usual mode: the umask applies as to any new file.
int createSibling(const std::string& target, std::string& siblingPath)
{
    static std::mt19937_64 random{std::random_device{}()};
    const std::size_t slash = target.rfind('/');
    const std::string prefix =
        target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".tmp-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        siblingPath = prefix + std::to_string(random() % 1000000000);
        const int fd = ::open(siblingPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Where a save must land: the path itself, or the regular file a link there
// names. Fills existing when there is a file to keep the owner and mode of.
FileWrite resolveTarget(const std::string& path, std::string& target, struct stat& existing,
                        bool& exists)
{
    target = path;
    exists = false;
    struct stat entry
    {
    };
    if (::lstat(path.c_str(), &entry) != 0) {
        if (errno == ENOENT) return {true, {}};
        return {false, systemReason(errno)};
    }
    if (S_ISLNK(entry.st_mode)) {
        char* const resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) {
            return {false,
                    "it is a link to nothing that can be used (" + systemReason(errno) + ")"};
        }
        target = resolved;
        std::free(resolved);
    }
    if (::stat(target.c_str(), &existing) != 0) return {false, systemReason(errno)};
    if (!S_ISREG(existing.st_mode)) return {false, notRegularReason(existing.st_mode)};
    // The rename would get past a file made read-only; its mode says no.
    if (::access(target.c_str(), W_OK) != 0) return {false, systemReason(errno)};
    exists = true;
    return {true, {}};
}

// Owner first: changing it may clear mode bits.
bool takeOwnerAndMode(int fd, const struct stat& existing)
{
    struct stat made
    {
    };
    if (::fstat(fd, &made) != 0) return false;
    if ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        return false;
    }
    return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

void syncFolder(const std::string& folder)
{
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) static_cast<void>(::fsync(fd.get()));  // durability only; the rename is done
}

}  // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes)
{
    struct stat named
    {
    };
    if (::stat(path.c_str(), &named) != 0) {
        // Nothing there, or a file where a folder on the way should be: no store yet.
        if (errno == ENOENT || errno == ENOTDIR) return readFailure(FileReadOutcome::Absent, {});
        return readFailure(FileReadOutcome::Failed, systemReason(errno));
    }
    if (!S_ISREG(named.st_mode)) {
        return readFailure(FileReadOutcome::NotRegular, notRegularReason(named.st_mode));
    }
    if (static_cast<std::size_t>(named.st_size) > maxBytes) return tooLarge(maxBytes);

    // O_NONBLOCK: should a FIFO take the file's place after the check, the open
    // still returns at once, and fstat then shows what was opened.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return readFailure(FileReadOutcome::Failed, systemReason(errno));
    struct stat opened
    {
    };
    if (::fstat(fd.get(), &opened) != 0) {
        return readFailure(FileReadOutcome::Failed, systemReason(errno));
    }
    if (!S_ISREG(opened.st_mode)) {
        return readFailure(FileReadOutcome::NotRegular, notRegularReason(opened.st_mode));
    }

    // The size stat gave may be stale or, for some kernel files, made up: the
    // bound holds whatever the reads return.
    FileRead result;
    std::string& bytes = result.bytes;
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kReadChunk);
        const ssize_t got = ::read(fd.get(), bytes.data() + used, kReadChunk);
        if (got < 0 && errno == EINTR) {
            bytes.resize(used);
            continue;
        }
        if (got < 0) return readFailure(FileReadOutcome::Failed, systemReason(errno));
        bytes.resize(used + static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes) return tooLarge(maxBytes);
        if (got == 0) break;
    }
    result.outcome = FileReadOutcome::Read;
    return result;
}

FileWrite replaceRegularFile(const std::string& path, std::string_view bytes)
{
    std::string target;
    struct stat existing
    {
    };
    bool exists = false;
    if (FileWrite resolved = resolveTarget(path, target, existing, exists); !resolved.written) {
        return resolved;
    }

    std::string sibling;
    Descriptor fd(createSibling(target, sibling));
    if (fd.get() < 0) return {false, systemReason(errno)};
    const auto failWith = [&sibling](int error) {
        ::unlink(sibling.c_str());
        return FileWrite{false, systemReason(error)};
    };
    if (exists && !takeOwnerAndMode(fd.get(), existing)) return failWith(errno);
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) return failWith(errno);
    if (fd.close() != 0) return failWith(errno);

    // Something else may have taken the file's place meanwhile: leave it be.
    struct stat now
    {
    };
    if (::lstat(target.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) {
        ::unlink(sibling.c_str());
        return {false, notRegularReason(now.st_mode)};
    }
    if (::rename(sibling.c_str(), target.c_str()) != 0) return failWith(errno);
    syncFolder(folderOf(target));
    return {true, {}};
}

}  // namespace kuvell
