// SPDX-License-Identifier: MIT
// Sends UDP datagrams at a fixed number of bytes per second, counted as the
// kernel counts them on an Ethernet-like link (frame = payload + UDP + IPv4 +
// Ethernet headers), and drains whatever arrives on its own port so that no
// "port unreachable" replies add traffic the tests did not plan.
//
// It only ever talks to loopback or link-local addresses: the end-to-end tests
// run it inside network namespaces of their own, and a wrong argument must not
// be able to send anything to a real network.
//
//   kuvell_e2e_pacer <local-port> <peer-ipv4> <peer-port> <bytes-per-second> <seconds>
//   [frame-bytes]
//
// Frames are 1000 bytes unless frame-bytes says otherwise; a rate of 0 sends
// nothing and only drains its port, as a quiet receiver.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace kuvell {
namespace {

constexpr long kDefaultFrameBytes = 1000;
constexpr long kHeaderBytes = 14 + 20 + 8;  // Ethernet + IPv4 + UDP
constexpr long kMaxFrameBytes = 1514;       // a full 1500-byte MTU, unfragmented
constexpr long kMaxBytesPerSecond = 2'000'000;

std::optional<long> parseNumber(std::string_view text, long low, long high)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool isContainedAddress(in_addr address)
{
    const std::uint32_t host = ntohl(address.s_addr);
    const bool loopback = (host >> 24) == 127;
    const bool linkLocal = (host >> 16) == ((169u << 8) | 254u);
    return loopback || linkLocal;
}

struct Plan
{
    std::uint16_t localPort = 0;
    sockaddr_in peer{};
    long framesPerSecond = 0;
    long frameBytes = kDefaultFrameBytes;
    long seconds = 0;
};

std::optional<Plan> parsePlan(int argc, char** argv)
{
    if (argc != 6 && argc != 7) {
        return std::nullopt;
    }
    Plan plan;
    const auto localPort = parseNumber(argv[1], 1, 65535);
    const auto peerPort = parseNumber(argv[3], 1, 65535);
    const auto bytesPerSecond = parseNumber(argv[4], 0, kMaxBytesPerSecond);
    const auto seconds = parseNumber(argv[5], 1, 600);
    const auto frameBytes =
        argc == 7 ? parseNumber(argv[6], kHeaderBytes + 1, kMaxFrameBytes) : kDefaultFrameBytes;
    plan.peer.sin_family = AF_INET;
    if (!localPort || !peerPort || !bytesPerSecond || !seconds || !frameBytes ||
        *bytesPerSecond % *frameBytes != 0 ||
        inet_pton(AF_INET, argv[2], &plan.peer.sin_addr) != 1) {
        return std::nullopt;
    }
    plan.localPort = static_cast<std::uint16_t>(*localPort);
    plan.peer.sin_port = htons(static_cast<std::uint16_t>(*peerPort));
    plan.frameBytes = *frameBytes;
    plan.framesPerSecond = *bytesPerSecond / *frameBytes;
    plan.seconds = *seconds;
    return plan;
}

void drain(int socketFd)
{
    std::array<char, 2048> sink{};
    while (recv(socketFd, sink.data(), sink.size(), MSG_DONTWAIT) > 0) {
    }
}

// Waits until the deadline, draining arrivals meanwhile.
void waitUntil(int socketFd, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return;
        }
        pollfd entry{socketFd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(left.count())) > 0) {
            drain(socketFd);
        }
    }
}

int run(const Plan& plan)
{
    const int socketFd = socket(AF_INET, SOCK_DGRAM, 0);
    if (socketFd < 0) {
        std::perror("socket");
        return 1;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(plan.localPort);
    if (bind(socketFd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::perror("bind");
        close(socketFd);
        return 1;
    }

    const std::array<char, kMaxFrameBytes - kHeaderBytes> payload{};
    const std::size_t payloadBytes = static_cast<std::size_t>(plan.frameBytes - kHeaderBytes);
    const long frames = plan.framesPerSecond * plan.seconds;
    long sent = 0;
    auto deadline = std::chrono::steady_clock::now();
    if (frames == 0) {
        waitUntil(socketFd, deadline + std::chrono::seconds(plan.seconds));
    }
    const auto interval =
        std::chrono::nanoseconds(1'000'000'000 / std::max(plan.framesPerSecond, 1L));
    for (long frame = 0; frame < frames; ++frame) {
        // Absolute deadlines: a late wake-up is caught up, so the rate holds on average.
        waitUntil(socketFd, deadline);
        deadline += interval;
        if (sendto(socketFd, payload.data(), payloadBytes, 0,
                   reinterpret_cast<const sockaddr*>(&plan.peer),
                   sizeof plan.peer) == static_cast<ssize_t>(payloadBytes)) {
            ++sent;
        }
    }
    drain(socketFd);
    close(socketFd);
    std::printf("sent %ld of %ld frames of %ld bytes\n", sent, frames, plan.frameBytes);
    return sent == frames ? 0 : 1;
}

}  // namespace
}  // namespace kuvell

int main(int argc, char** argv)
{
    const auto plan = kuvell::parsePlan(argc, argv);
    if (!plan) {
        std::fprintf(stderr,
                     "usage: %s <local-port> <peer-ipv4> <peer-port> <bytes-per-second> "
                     "<seconds> [frame-bytes]\n  bytes-per-second: 0, or a multiple of "
                     "frame-bytes (%ld to %ld, default %ld) up to %ld\n",
                     argv[0], kuvell::kHeaderBytes + 1, kuvell::kMaxFrameBytes,
                     kuvell::kDefaultFrameBytes, kuvell::kMaxBytesPerSecond);
        return 2;
    }
    if (!kuvell::isContainedAddress(plan->peer.sin_addr)) {
        std::fprintf(stderr, "%s: only loopback and link-local peers are allowed\n", argv[0]);
        return 2;
    }
    return kuvell::run(*plan);
}
