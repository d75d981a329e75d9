// SPDX-License-Identifier: MIT
#include "frontends/qt/TerminationNotifier.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <memory>

namespace kuvell {
namespace {

TEST(TerminationNotifier, EveryTermAndHupEndsOnTheEventLoopUntilTheWindowIsGone)
{
    TerminationSignals termination;
    ASSERT_TRUE(termination.installed());
    auto window = std::make_unique<QObject>();
    int ends = 0;
    callOnTerminationSignals(termination, *window, [&ends] { ++ends; });
    std::raise(SIGTERM);
    std::raise(SIGHUP);
    EXPECT_EQ(ends, 0);  // not inside the handler
    const QDeadlineTimer deadline(5000);
    while (ends < 2 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(ends, 2);

    window.reset();
    std::raise(SIGTERM);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(termination.takeReceived(),
              SIGTERM);  // still taken by the handler, only not acted on
}

}  // namespace
}  // namespace kuvell
