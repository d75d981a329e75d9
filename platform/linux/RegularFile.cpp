// SPDX-License-Identifier: MIT
#include "platform/RegularFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <system_error>
#include <utility>

#include "platform/linux/Descriptor.h"

namespace kuvell {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// Kuvell's own temporary files: "." + name + kTemporaryMark + pid + "." + random,
// so a later save can tell a leftover from a save still in progress.
constexpr std::string_view kTemporaryMark = ".kuvell-tmp.";
// What releases before this one named theirs: "." + name + ".tmp-" + digits.
constexpr std::string_view kOldTemporaryMark = ".tmp-";

std::string systemReason(int error) { return std::generic_category().message(error); }

std::string notRegularReason(mode_t mode)
{
    if (S_ISDIR(mode)) return "it is a folder, not a regular file";
    if (S_ISFIFO(mode)) return "it is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is not a regular file";
}

bool isAllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string userName(uid_t uid)
{
    const passwd* user = ::getpwuid(uid);
    return user != nullptr ? std::string(user->pw_name) : std::to_string(uid);
}

// A user private group (the owner's primary group, named after the owner,
// with no other member) lets nobody else write: a umask of 002 is common.
bool groupIsOwnersAlone(gid_t group, uid_t owner)
{
    const passwd* user = ::getpwuid(owner);
    if (user == nullptr || user->pw_gid != group) return false;
    const std::string name = user->pw_name;
    const struct group* entry = ::getgrgid(group);
    if (entry == nullptr || name != entry->gr_name) return false;
    for (char** member = entry->gr_mem; *member != nullptr; ++member) {
        if (name != *member) return false;
    }
    bool alone = true;
    ::setpwent();
    while (const passwd* other = ::getpwent()) {
        if (other->pw_gid == group && other->pw_uid != owner) {
            alone = false;
            break;
        }
    }
    ::endpwent();
    return alone;
}

// With an access list, the group bits are its mask: write there may be
// granted to anyone the list names.
bool hasAccessList(const std::string& path)
{
    return ::lgetxattr(path.c_str(), "system.posix_acl_access", nullptr, 0) >= 0 ||
           (errno != ENODATA && errno != ENOTSUP);
}

// Why what info describes could be changed by a user other than the one
// running Kuvell (and root), or an empty text; path reaches it without
// following a link. A sticky bit does not help: it stops others from
// replacing Kuvell's files, not from planting theirs first.
std::string trustProblem(const struct stat& info, const std::string& what, const std::string& path)
{
    const uid_t user = ::geteuid();
    if (user != 0 && info.st_uid != user && info.st_uid != 0) {
        return what + " belongs to " + userName(info.st_uid) + ", not to " + userName(user);
    }
    if (S_ISLNK(info.st_mode)) return {};  // a link's own mode means nothing
    if ((info.st_mode & S_IWOTH) != 0) return what + " can be changed by every user";
    if ((info.st_mode & S_IWGRP) == 0) return {};
    if (hasAccessList(path)) return what + " has an access list that may let others change it";
    if (!groupIsOwnersAlone(info.st_gid, info.st_uid)) {
        const struct group* entry = ::getgrgid(info.st_gid);
        return what + " can be changed by the group " +
               (entry != nullptr ? std::string(entry->gr_name) : std::to_string(info.st_gid));
    }
    return {};
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A name in the opened folder (or the folder itself, ".") as a path, for
// calls that take no descriptor.
std::string viaDescriptor(int folder, const std::string& name = ".")
{
    return "/proc/self/fd/" + std::to_string(folder) + "/" + name;
}

// Where a file is, or would be: its folder opened and checked, its name there,
// and what that name holds. Everything after is done through the folder's
// descriptor, so the folder that was checked is the one used.
struct Place
{
    Descriptor folder;
    std::string folderPath;
    std::string name;
    bool linked = false;  // reached through a link
    bool exists = false;
    struct stat entry
    {
    };
};

struct Located
{
    FileReadOutcome outcome = FileReadOutcome::Failed;  // Read: the place is usable
    std::string reason;
};

Located located(FileReadOutcome outcome, std::string reason = {})
{
    return {outcome, std::move(reason)};
}

// Opens folderPath and checks it; folderPath is a link-free absolute path
// when noLinks, and each step is then opened without following a link, so
// no one can switch a folder on the way for a link after the check. O_PATH:
// a folder the user may search but not list still holds a usable file.
Located openFolder(Place& place, const std::string& folderPath, bool noLinks)
{
    constexpr int kFolder = O_PATH | O_DIRECTORY | O_CLOEXEC;
    place.folderPath = folderPath;
    place.folder.reset(::open(noLinks ? "/" : folderPath.c_str(), kFolder));
    for (std::size_t begin = 1; noLinks && begin < folderPath.size() && place.folder.get() >= 0;) {
        const std::size_t end = std::min(folderPath.find('/', begin), folderPath.size());
        const std::string part = folderPath.substr(begin, end - begin);
        place.folder.reset(::openat(place.folder.get(), part.c_str(), kFolder | O_NOFOLLOW));
        begin = end + 1;
    }
    if (place.folder.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return located(FileReadOutcome::Absent);
        return located(FileReadOutcome::Failed, systemReason(errno));
    }
    struct stat info
    {
    };
    if (::fstat(place.folder.get(), &info) != 0) {
        return located(FileReadOutcome::Failed, systemReason(errno));
    }
    std::string problem =
        trustProblem(info, "the folder " + folderPath, viaDescriptor(place.folder.get()));
    if (!problem.empty()) return located(FileReadOutcome::Untrusted, std::move(problem));
    return located(FileReadOutcome::Read);
}

// Fills place.entry from the name in the opened folder, without following it.
Located lookUp(Place& place)
{
    place.exists =
        ::fstatat(place.folder.get(), place.name.c_str(), &place.entry, AT_SYMLINK_NOFOLLOW) == 0;
    if (!place.exists && errno != ENOENT) {
        return located(FileReadOutcome::Failed, systemReason(errno));
    }
    return located(FileReadOutcome::Read);
}

// The file at path, through one link at most (the link may lead through
// others: the end it names is what is checked and used).
Located locate(const std::string& path, Place& place)
{
    if (Located folder = openFolder(place, folderOf(path), false);
        folder.outcome != FileReadOutcome::Read) {
        return folder;
    }
    place.name = nameOf(path);
    if (place.name.empty() || place.name == "." || place.name == "..") {
        return located(FileReadOutcome::NotRegular, notRegularReason(S_IFDIR));
    }
    if (Located entry = lookUp(place); entry.outcome != FileReadOutcome::Read || !place.exists) {
        return entry;
    }
    if (!S_ISLNK(place.entry.st_mode)) return located(FileReadOutcome::Read);

    if (std::string problem = trustProblem(place.entry, "the link " + path, {}); !problem.empty()) {
        return located(FileReadOutcome::Untrusted, std::move(problem));
    }
    // Resolved from the folder already opened, not from its name again.
    char* const resolved =
        ::realpath(viaDescriptor(place.folder.get(), place.name).c_str(), nullptr);
    if (resolved == nullptr) {
        return located(FileReadOutcome::Absent,
                       "it is a link to nothing that can be used (" + systemReason(errno) + ")");
    }
    const std::string target = resolved;
    std::free(resolved);
    Place linked;
    if (Located folder = openFolder(linked, folderOf(target), true);
        folder.outcome != FileReadOutcome::Read) {
        if (folder.outcome == FileReadOutcome::Absent) folder.reason = "it links to " + target;
        return folder;
    }
    linked.name = nameOf(target);
    if (Located entry = lookUp(linked); entry.outcome != FileReadOutcome::Read) return entry;
    if (!linked.exists) {
        return located(FileReadOutcome::Absent, "the file it links to, " + target + ", is gone");
    }
    if (S_ISLNK(linked.entry.st_mode)) {
        return located(FileReadOutcome::Failed, "the link changed while it was being followed");
    }
    // Root works on users' files, but follows a user's link only to that user's
    // own: a link to /etc/shadow in a user's folder must not lead root there.
    if (::geteuid() == 0 && place.entry.st_uid != 0 && place.entry.st_uid != linked.entry.st_uid) {
        return located(FileReadOutcome::Untrusted, "the link " + path + " belongs to " +
                                                       userName(place.entry.st_uid) +
                                                       ", the file it links to, " + target +
                                                       ", to " + userName(linked.entry.st_uid));
    }
    linked.linked = true;
    place = std::move(linked);
    return located(FileReadOutcome::Read);
}

// The regular file in place must be the user's own; anything else is refused.
Located checkFile(const Place& place)
{
    if (!S_ISREG(place.entry.st_mode)) {
        return located(FileReadOutcome::NotRegular, notRegularReason(place.entry.st_mode));
    }
    const std::string what =
        place.linked ? "the file it links to, " + place.folderPath + "/" + place.name + ","
                     : std::string("it");
    std::string problem =
        trustProblem(place.entry, what, viaDescriptor(place.folder.get(), place.name));
    if (!problem.empty()) return located(FileReadOutcome::Untrusted, std::move(problem));
    return located(FileReadOutcome::Read);
}

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

// A leftover of a save that was killed: a temporary file of Kuvell's for this
// name whose process is gone (or is this one, between two saves), regular
// and the user's own. Links and anything else are never touched.
bool isLeftover(int folder, std::string_view entryName, std::string_view name)
{
    if (entryName.size() <= name.size() + 1 || entryName[0] != '.' ||
        entryName.substr(1, name.size()) != name) {
        return false;
    }
    const std::string_view rest = entryName.substr(name.size() + 1);
    if (rest.substr(0, kTemporaryMark.size()) == kTemporaryMark) {
        const std::string_view ids = rest.substr(kTemporaryMark.size());
        const std::string_view pid = ids.substr(0, ids.find('.'));
        if (!isAllDigits(pid) || pid.size() > 9) return false;
        const pid_t writer = static_cast<pid_t>(std::stol(std::string(pid)));
        if (writer != ::getpid() && (::kill(writer, 0) == 0 || errno != ESRCH)) return false;
    } else if (rest.substr(0, kOldTemporaryMark.size()) != kOldTemporaryMark ||
               !isAllDigits(rest.substr(kOldTemporaryMark.size()))) {
        return false;
    }
    struct stat info
    {
    };
    return ::fstatat(folder, std::string(entryName).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// Clearing up is a courtesy: a folder that cannot be listed still gets its save.
void removeLeftovers(const Place& place)
{
    const int listed = ::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return;
    DIR* const folder = ::fdopendir(listed);
    if (folder == nullptr) {
        ::close(listed);
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        if (isLeftover(place.folder.get(), entry->d_name, place.name)) {
            ::unlinkat(place.folder.get(), entry->d_name, 0);
        }
    }
    ::closedir(folder);
}

// A new file beside the target, so that the rename replacing it is atomic.
// O_EXCL: never an existing file or link. No write access for others, whatever
// the umask: Kuvell would refuse to read such a file again.
int createSibling(const Place& place, std::string& siblingName)
{
    static std::mt19937_64 random{std::random_device{}()};
    const std::string prefix =
        "." + place.name + std::string(kTemporaryMark) + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        siblingName = prefix + std::to_string(random() % 1000000000);
        const int fd = ::openat(place.folder.get(), siblingName.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
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

}  // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes)
{
    Place place;
    Located found = locate(path, place);
    // Nothing there, a link to nothing, or a file where a folder on the way
    // should be: no store yet.
    if (found.outcome == FileReadOutcome::Absent) return readFailure(FileReadOutcome::Absent, {});
    if (found.outcome == FileReadOutcome::Read && !place.exists) {
        return readFailure(FileReadOutcome::Absent, {});
    }
    if (found.outcome == FileReadOutcome::Read) found = checkFile(place);
    if (found.outcome != FileReadOutcome::Read) return readFailure(found.outcome, found.reason);
    if (static_cast<std::size_t>(place.entry.st_size) > maxBytes) return tooLarge(maxBytes);

    // O_NONBLOCK: should a FIFO take the file's place after the check, the open
    // still returns at once, and fstat then shows what was opened.
    const Descriptor fd(::openat(place.folder.get(), place.name.c_str(),
                                 O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0) return readFailure(FileReadOutcome::Failed, systemReason(errno));
    if (::fstat(fd.get(), &place.entry) != 0) {
        return readFailure(FileReadOutcome::Failed, systemReason(errno));
    }
    if (found = checkFile(place); found.outcome != FileReadOutcome::Read) {
        return readFailure(found.outcome, found.reason);
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

Result replaceRegularFile(const std::string& path, std::string_view bytes)
{
    Place place;
    Located found = locate(path, place);
    if (found.outcome == FileReadOutcome::Absent && found.reason.empty()) {
        return Result::failure(systemReason(ENOENT));  // no folder to write in
    }
    if (found.outcome == FileReadOutcome::Read && place.exists) found = checkFile(place);
    if (found.outcome != FileReadOutcome::Read) return Result::failure(found.reason);
    // The rename would get past a file made read-only; its mode says no.
    if (place.exists && ::faccessat(place.folder.get(), place.name.c_str(), W_OK, 0) != 0) {
        return Result::failure(systemReason(errno));
    }

    removeLeftovers(place);
    std::string sibling;
    Descriptor fd(createSibling(place, sibling));
    if (fd.get() < 0) return Result::failure(systemReason(errno));
    const auto failWith = [&](int error) {
        ::unlinkat(place.folder.get(), sibling.c_str(), 0);
        return Result::failure(systemReason(error));
    };
    if (place.exists && !takeOwnerAndMode(fd.get(), place.entry)) return failWith(errno);
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) return failWith(errno);
    if (fd.close() != 0) return failWith(errno);

    // Something else may have taken the file's place meanwhile: leave it be.
    struct stat now
    {
    };
    if (::fstatat(place.folder.get(), place.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(now.st_mode)) {
        ::unlinkat(place.folder.get(), sibling.c_str(), 0);
        return Result::failure(notRegularReason(now.st_mode));
    }
    if (::renameat(place.folder.get(), sibling.c_str(), place.folder.get(), place.name.c_str()) !=
        0) {
        return failWith(errno);
    }
    // Durability only; the rename is done. A folder that cannot be read is not synced.
    const Descriptor synced(::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (synced.get() >= 0) static_cast<void>(::fsync(synced.get()));
    return Result::success();
}

std::string untrustedFolderReason(const std::string& path)
{
    Place place;
    const Located folder = openFolder(place, folderOf(path), false);
    return folder.outcome == FileReadOutcome::Untrusted ? folder.reason : std::string();
}

}  // namespace kuvell
