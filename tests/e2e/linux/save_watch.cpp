// SPDX-License-Identifier: MIT
// Follows one save of Kuvell's store through inotify, so that the kill-loop
// test times the save from events that cannot be missed instead of polling.
// A save runs from the moment its lock file is created to the moment it is
// removed; the store is replaced by a rename somewhere in between.
//
//   kuvell_e2e_save_watch <folder> <store-name> measure
//       prints "save <microseconds>" once a save has begun and ended
//   kuvell_e2e_save_watch <folder> <store-name> kill <pid> <window-microseconds>
//       once a save has begun, waits a uniformly random time shorter than the
//       window, sends SIGKILL to pid and prints when the kill came:
//       "before-replace" or "after-replace", and the delay; or, when the save
//       ended first, "after-save", the delay and the save's length, unkilled
//
// Either way it prints "watching" first, once the watch is in place, and gives
// up with status 2 when no save begins within 20 seconds.

#include <poll.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <thread>

namespace kuvell {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

constexpr auto kSaveBeginTimeout = std::chrono::seconds(20);
constexpr auto kSaveEndTimeout = std::chrono::seconds(60);

struct SaveEvents
{
    bool begun = false;
    bool replaced = false;
    bool ended = false;
};

class StoreFolderWatch
{
  public:
    StoreFolderWatch(const char* folder, std::string storeName)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          storeName_(std::move(storeName)),
          lockName_(storeName_ + ".lock")
    {
        if (fd_ >= 0 && inotify_add_watch(fd_, folder, IN_CREATE | IN_DELETE | IN_MOVED_TO) < 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~StoreFolderWatch()
    {
        if (fd_ >= 0) close(fd_);
    }
    StoreFolderWatch(const StoreFolderWatch&) = delete;
    StoreFolderWatch& operator=(const StoreFolderWatch&) = delete;

    bool isValid() const { return fd_ >= 0; }
    const SaveEvents& events() const { return events_; }

    // Takes in every queued event, waiting at most until the deadline for the first.
    void collect(Clock::time_point deadline)
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(std::max<long long>(0, left.count()))) <= 0) return;
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t got = read(fd_, buffer, sizeof buffer);
            if (got <= 0) return;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                take(event->mask,
                     event->len > 0 ? std::string_view(event->name) : std::string_view());
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

  private:
    void take(uint32_t mask, std::string_view name)
    {
        // A lock left by an earlier, killed save is removed before the new one is made.
        if (name == lockName_ && (mask & IN_CREATE)) events_.begun = true;
        if (!events_.begun) return;
        if (name == storeName_ && (mask & IN_MOVED_TO)) events_.replaced = true;
        if (name == lockName_ && (mask & IN_DELETE)) events_.ended = true;
    }

    int fd_;
    std::string storeName_;
    std::string lockName_;
    SaveEvents events_;
};

// A whole number of at least 0, or -1 for anything else.
long parseNumber(const char* text)
{
    long value = 0;
    const std::string_view view(text);
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    return error == std::errc() && end == view.data() + view.size() && value >= 0 ? value : -1;
}

bool waitFor(StoreFolderWatch& watch, bool SaveEvents::*what, Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!(watch.events().*what) && Clock::now() < deadline) watch.collect(deadline);
    return watch.events().*what;
}

// Until the process has ended, so that every event of its last moment is queued.
void awaitEnd(long pid)
{
    const long pidfd = syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0);
    if (pidfd < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return;
    }
    pollfd ended{static_cast<int>(pidfd), POLLIN, 0};
    poll(&ended, 1, 5000);
    close(static_cast<int>(pidfd));
}

int run(int argc, char** argv)
{
    const std::string_view mode = argc > 3 ? argv[3] : "";
    const long pid = argc == 6 ? parseNumber(argv[4]) : -1;
    const long window = argc == 6 ? parseNumber(argv[5]) : -1;
    if (!((mode == "measure" && argc == 4) || (mode == "kill" && pid > 1 && window > 0))) {
        std::fprintf(stderr,
                     "usage: kuvell_e2e_save_watch <folder> <store-name> measure\n"
                     "       kuvell_e2e_save_watch <folder> <store-name> kill <pid> <window-us>\n");
        return 64;
    }
    StoreFolderWatch watch(argv[1], argv[2]);
    if (!watch.isValid()) {
        std::perror("inotify");
        return 1;
    }
    std::printf("watching\n");
    std::fflush(stdout);
    if (!waitFor(watch, &SaveEvents::begun, kSaveBeginTimeout)) {
        std::fprintf(stderr, "no save began\n");
        return 2;
    }
    const auto begun = Clock::now();
    if (mode == "measure") {
        if (!waitFor(watch, &SaveEvents::ended, kSaveEndTimeout)) {
            std::fprintf(stderr, "the save did not end\n");
            return 2;
        }
        const auto length = std::chrono::duration_cast<microseconds>(Clock::now() - begun);
        std::printf("save %lld\n", static_cast<long long>(length.count()));
        return 0;
    }
    std::mt19937_64 random(std::random_device{}());
    const microseconds delay(std::uniform_int_distribution<long>(0, window - 1)(random));
    const auto killAt = begun + delay;
    // The save is followed while the kill waits: one that ends first is timed
    // instead, so that the next window fits a machine that has grown faster.
    while (!watch.events().ended && Clock::now() < killAt) watch.collect(killAt);
    if (watch.events().ended) {
        const auto length = std::chrono::duration_cast<microseconds>(Clock::now() - begun);
        std::printf("after-save %lld %lld\n", static_cast<long long>(delay.count()),
                    static_cast<long long>(length.count()));
        return 0;
    }
    kill(static_cast<pid_t>(pid), SIGKILL);
    awaitEnd(pid);
    watch.collect(Clock::now());
    const SaveEvents& seen = watch.events();
    std::printf("%s %lld\n",
                seen.ended      ? "after-save"
                : seen.replaced ? "after-replace"
                                : "before-replace",
                static_cast<long long>(delay.count()));
    return 0;
}

}  // namespace
}  // namespace kuvell

int main(int argc, char** argv) { return kuvell::run(argc, argv); }
