// SPDX-License-Identifier: MIT
#include "frontends/qt/TerminationSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

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
    int sockets[2] = {-1, -1};
    struct sigaction previousTerm
    {
    };
    struct sigaction previousHup
    {
    };
};

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent), handlers_(std::make_unique<Handlers>())
{
    int* const sockets = handlers_->sockets;
    if (handlerSocket != -1 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets) != 0) {
        sockets[0] = sockets[1] = -1;
        return;
    }
    handlerSocket = sockets[0];
    notifier_ = std::make_unique<QSocketNotifier>(sockets[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this, readEnd = sockets[1]] {
        unsigned char byte = 0;
        while (::read(readEnd, &byte, 1) == 1) {
            emit received(byte);
        }
    });
    const bool term = install(SIGTERM, handlers_->previousTerm);
    const bool hup = install(SIGHUP, handlers_->previousHup);
    installed_ = term && hup;
}

bool TerminationSignals::arrived() { return signalArrived != 0; }

TerminationSignals::~TerminationSignals()
{
    const int* const sockets = handlers_->sockets;
    if (sockets[0] == -1) {
        return;
    }
    ::sigaction(SIGTERM, &handlers_->previousTerm, nullptr);
    ::sigaction(SIGHUP, &handlers_->previousHup, nullptr);
    handlerSocket = -1;
    notifier_.reset();
    ::close(sockets[0]);
    ::close(sockets[1]);
}

}  // namespace kuvell
