// SPDX-License-Identifier: MIT
#include "platform/TerminationSignals.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <csignal>
#include <vector>

namespace kuvell {
namespace {

// What the descriptor delivers within a few seconds, as an event loop watching it would take it.
std::vector<int> waitForSignals(TerminationSignals& listener, std::size_t expected)
{
    std::vector<int> received;
    pollfd watched{listener.descriptor(), POLLIN, 0};
    while (received.size() < expected && ::poll(&watched, 1, 5000) == 1) {
        while (const std::optional<int> number = listener.takeReceived()) {
            received.push_back(*number);
        }
    }
    return received;
}

TEST(TerminationSignals, TermAndHupArriveThroughTheDescriptor)
{
    TerminationSignals listener;
    ASSERT_TRUE(listener.installed());
    EXPECT_EQ(listener.takeReceived(), std::nullopt);  // nothing waits, and nothing blocks
    std::raise(SIGTERM);                         // without the handler this would end the test run
    EXPECT_TRUE(TerminationSignals::arrived());  // before anything has read the descriptor
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
        EXPECT_EQ(second.descriptor(), -1);
        std::raise(SIGTERM);
        EXPECT_EQ(waitForSignals(first, 1), std::vector<int>{SIGTERM});
        EXPECT_EQ(second.takeReceived(), std::nullopt);
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
