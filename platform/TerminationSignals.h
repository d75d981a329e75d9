// SPDX-License-Identifier: MIT
#pragma once
// SIGTERM and SIGHUP end Kuvell like any other close of its window. The signal
// handler only writes the signal number into a socket pair; the program's event
// loop watches descriptor() and takes the numbers on its own thread.
#include <memory>
#include <optional>

namespace kuvell {

class TerminationSignals
{
  public:
    // Installs the handlers; only one instance may exist at a time (a second one
    // installs nothing and never receives).
    TerminationSignals();
    // Puts the previous handlers back. Whatever watches descriptor() must be
    // gone by then.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool installed() const { return installed_; }

    // Readable while a signal waits to be taken; -1 for an instance that
    // listens to nothing.
    int descriptor() const;
    // The oldest signal not yet taken, without waiting; nullopt when none waits.
    std::optional<int> takeReceived();

    // A signal has arrived, also while the event loop was not yet running (a
    // long start-up polls this instead of watching descriptor()).
    static bool arrived();

  private:
    struct Handlers;  // the operating system's side
    std::unique_ptr<Handlers> handlers_;
    bool installed_ = false;
};

}  // namespace kuvell
