// SPDX-License-Identifier: MIT
#include "platform/TerminationSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/Descriptor.h"

namespace kuvell {

namespace {

// The write end, read by the handler: a plain int set before the handlers are
// installed and cleared after they are removed.
volatile sig_atomic_t handlerSocket = -1;
volatile sig_atomic_t signalArrived = 0;

void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    signalArrived = 1;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full socket means a signal is already waiting to be handled.
    [[maybe_unused]] const ssize_t written = ::write(handlerSocket, &byte, 1);
    errno = savedErrno;
}

bool install(int signalNumber, struct sigaction& previous)
{
    struct sigaction action
    {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signalNumber, &action, &previous) == 0;
}

}  // namespace

struct TerminationSignals::Handlers
{
    Descriptor writeEnd;
    Descriptor readEnd;
    struct sigaction previousTerm
    {
    };
    struct sigaction previousHup
    {
    };
};

TerminationSignals::TerminationSignals() : handlers_(std::make_unique<Handlers>())
{
    int sockets[2] = {-1, -1};
    if (handlerSocket != -1 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets) != 0) {
        return;
    }
    handlers_->writeEnd.reset(sockets[0]);
    handlers_->readEnd.reset(sockets[1]);
    handlerSocket = sockets[0];
    const bool term = install(SIGTERM, handlers_->previousTerm);
    const bool hup = install(SIGHUP, handlers_->previousHup);
    installed_ = term && hup;
}

TerminationSignals::~TerminationSignals()
{
    if (handlers_->writeEnd.get() == -1) {
        return;
    }
    ::sigaction(SIGTERM, &handlers_->previousTerm, nullptr);
    ::sigaction(SIGHUP, &handlers_->previousHup, nullptr);
    handlerSocket = -1;
}

int TerminationSignals::descriptor() const { return handlers_->readEnd.get(); }

std::optional<int> TerminationSignals::takeReceived()
{
    unsigned char byte = 0;
    if (descriptor() == -1 || ::read(descriptor(), &byte, 1) != 1) {
        return std::nullopt;
    }
    return byte;
}

bool TerminationSignals::arrived() { return signalArrived != 0; }

}  // namespace kuvell
