// SPDX-License-Identifier: MIT
#include "frontends/qt/TerminationSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <vector>

namespace kuvell {
namespace {

std::vector<int> waitForSignals(TerminationSignals& listener, std::size_t expected)
{
    std::vector<int> received;
    QObject::connect(&listener, &TerminationSignals::received,
                     [&received](int number) { received.push_back(number); });
    QDeadlineTimer deadline(5000);
    while (received.size() < expected && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return received;
}

TEST(TerminationSignals, TermAndHupArriveOnTheEventLoop)
{
    TerminationSignals listener;
    ASSERT_TRUE(listener.installed());
    std::raise(SIGTERM);                         // without the handler this would end the test run
    EXPECT_TRUE(TerminationSignals::arrived());  // before the event loop has run
    std::raise(SIGHUP);
    EXPECT_EQ(waitForSignals(listener, 2), (std::vector<int>{SIGTERM, SIGHUP}));
}

TEST(TerminationSignals, OnlyOneInstanceListensAndTheOldHandlersComeBack)
{
    struct sigaction before
    {
    };
    ::sigaction(SIGTERM, nullptr, &before);
    {
        TerminationSignals first;
        TerminationSignals second;
        EXPECT_TRUE(first.installed());
        EXPECT_FALSE(second.installed());
        std::raise(SIGTERM);
        EXPECT_EQ(waitForSignals(first, 1), std::vector<int>{SIGTERM});
    }
    struct sigaction after
    {
    };
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    TerminationSignals again;  // the slot is free once the first one is gone
    EXPECT_TRUE(again.installed());
}

}  // namespace
}  // namespace kuvell
