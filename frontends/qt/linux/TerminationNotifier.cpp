// SPDX-License-Identifier: MIT
#include "frontends/qt/TerminationNotifier.h"

#include <QSocketNotifier>
#include <utility>

namespace kuvell {

void callOnTerminationSignals(TerminationSignals& termination, QObject& context,
                              std::function<void()> end)
{
    if (termination.descriptor() == -1) {
        return;
    }
    auto* const notifier =
        new QSocketNotifier(termination.descriptor(), QSocketNotifier::Read, &context);
    QObject::connect(notifier, &QSocketNotifier::activated, &context,
                     [&termination, end = std::move(end)] {
                         while (termination.takeReceived()) {
                             end();
                         }
                     });
}

}  // namespace kuvell
