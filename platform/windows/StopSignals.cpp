// SPDX-License-Identifier: MIT
#include "platform/StopSignals.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace kuvell {
namespace {

// The console runs its handlers on a thread of its own, which only sets the
// event the waiting thread sleeps on. One StopSignals at a time owns it.
std::atomic<HANDLE> stopEvent{nullptr};

BOOL WINAPI onConsoleControl(DWORD control)
{
    if (control != CTRL_C_EVENT && control != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    if (const HANDLE event = stopEvent.load(); event != nullptr) {
        SetEvent(event);
    }
    return TRUE;
}

}  // namespace

struct StopSignals::Pending
{
    // Manual reset: once asked to stop, every later wait ends at once too.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

StopSignals::StopSignals() : pending_(std::make_unique<Pending>())
{
    stopEvent.store(pending_->event);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

StopSignals::~StopSignals()
{
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    stopEvent.store(nullptr);
    if (pending_->event != nullptr) {
        CloseHandle(pending_->event);
    }
}

bool StopSignals::waitUntil(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return true;
        }
        // Below INFINITE, which would never time out.
        const auto timeout = static_cast<DWORD>(std::min<long long>(left.count(), INFINITE - 1));
        if (WaitForSingleObject(pending_->event, timeout) != WAIT_TIMEOUT) {
            return false;
        }
    }
}

}  // namespace kuvell
