// SPDX-License-Identifier: MIT
#pragma once
// Ctrl+C and termination requests for a console program. They are taken only
// while it waits, so a program ends between two lines of output, never in the
// middle of one.
#include <chrono>
#include <memory>

namespace kuvell {

class StopSignals
{
  public:
    // Starts holding the requests back; a write to a reader that went away then
    // fails instead of ending the program.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Waits until the deadline; false when a stop request came first.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);

  private:
    struct Pending;
    std::unique_ptr<Pending> pending_;
};

}  // namespace kuvell
