// SPDX-License-Identifier: MIT
#include "platform/StopSignals.h"

#include <signal.h>

#include <cerrno>
#include <ctime>

namespace kuvell {

struct StopSignals::Pending
{
    sigset_t signals{};
};

StopSignals::StopSignals() : pending_(std::make_unique<Pending>())
{
    sigemptyset(&pending_->signals);
    sigaddset(&pending_->signals, SIGINT);
    sigaddset(&pending_->signals, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &pending_->signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals() = default;

bool StopSignals::waitUntil(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            return true;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const auto nanoseconds =
            std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
        const timespec timeout{static_cast<time_t>(seconds.count()),
                               static_cast<long>(nanoseconds.count())};
        if (::sigtimedwait(&pending_->signals, nullptr, &timeout) > 0) {
            return false;
        }
        if (errno != EAGAIN && errno != EINTR) {
            return false;
        }
    }
}

}  // namespace kuvell
