// SPDX-License-Identifier: MIT
#pragma once
// SIGTERM and SIGHUP end Kuvell like any other close of its window. The signal
// handler only writes the signal number into a socket pair; the event loop
// reads it and emits received() on the user-interface thread.
#include <QObject>
#include <memory>

class QSocketNotifier;

namespace kuvell {

class TerminationSignals : public QObject
{
    Q_OBJECT
  public:
    // Installs the handlers; only one instance may exist at a time (a second one
    // installs nothing and never emits).
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~TerminationSignals() override;

    bool installed() const { return installed_; }

    // A signal has arrived, also while the event loop was not yet running (a
    // long start-up polls this instead of waiting for received()).
    static bool arrived();

  signals:
    void received(int signalNumber);

  private:
    struct Handlers;  // the operating system's side
    std::unique_ptr<Handlers> handlers_;
    bool installed_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kuvell
