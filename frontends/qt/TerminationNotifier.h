// SPDX-License-Identifier: MIT
#pragma once
// Termination signals taken on the event loop, where the window can act on them.
#include <QObject>
#include <functional>

#include "platform/TerminationSignals.h"

namespace kuvell {

// Calls end once for every signal that arrives, on context's thread, until
// context is destroyed; termination must outlive context. Nothing is watched
// when termination listens to nothing.
void callOnTerminationSignals(TerminationSignals& termination, QObject& context,
                              std::function<void()> end);

}  // namespace kuvell
