#include "monitor/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace kuvell {

namespace {

// The write end, read by the handler: a plain int set before the handlers are
// installed and cleared after they are removed.
volatile sig_atomic_t handlerSocket = -1;

void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
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

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (handlerSocket != -1 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets_) != 0) {
        return;
    }
    handlerSocket = sockets_[0];
    notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    const bool term = install(SIGTERM, previousTerm_);
    const bool hup = install(SIGHUP, previousHup_);
    installed_ = term && hup;
}

TerminationSignals::~TerminationSignals()
{
    if (sockets_[0] == -1) {
        return;
    }
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGHUP, &previousHup_, nullptr);
    handlerSocket = -1;
    notifier_.reset();
    ::close(sockets_[0]);
    ::close(sockets_[1]);
}

void TerminationSignals::readPending()
{
    unsigned char byte = 0;
    while (::read(sockets_[1], &byte, 1) == 1) {
        emit received(byte);
    }
}

}  // namespace kuvell
