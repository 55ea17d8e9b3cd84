// The Windows connection probe where wine allows it: it is built, asks, and ends by its own
// time limit; a DNS question is answered by a loopback server of the test's own.
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/ConnectionProbe.h"
#include "platform/win32/Win32ConnectionProbe.h"

namespace quorrel::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class Winsock {
public:
    Winsock() {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { ::WSACleanup(); }
};

// A UDP socket on 127.0.0.1 that replies to every question (or stays silent).
class LoopbackDnsServer {
public:
    explicit LoopbackDnsServer(bool answer) : answer_(answer) {
        socket_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        SOCKADDR_IN local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(socket_, reinterpret_cast<SOCKADDR*>(&local), sizeof local), 0);
        int size = sizeof local;
        ::getsockname(socket_, reinterpret_cast<SOCKADDR*>(&local), &size);
        port_ = ::ntohs(local.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackDnsServer() {
        stop_ = true;
        thread_.join();
        ::closesocket(socket_);
    }
    std::uint16_t port() const { return port_; }

private:
    void serve() {
        while (!stop_) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(socket_, &readable);
            timeval wait{0, 20'000};
            if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) {
                continue;
            }
            char buffer[512];
            SOCKADDR_IN from{};
            int size = sizeof from;
            const int got = ::recvfrom(socket_, buffer, sizeof buffer, 0,
                                       reinterpret_cast<SOCKADDR*>(&from), &size);
            if (got < 12 || !answer_) {
                continue;
            }
            buffer[2] = static_cast<char>(buffer[2] | 0x80);
            buffer[3] = static_cast<char>(0x83);
            ::sendto(socket_, buffer, got, 0, reinterpret_cast<SOCKADDR*>(&from), size);
        }
    }

    bool answer_;
    SOCKET socket_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(Win32ConnectionProbe, DnsQuestionsEndWithTheirAnswerOrTheirTime) {
    Winsock winsock;
    for (const bool answer : {true, false}) {
        SCOPED_TRACE(answer ? "answering" : "silent");
        LoopbackDnsServer server(answer);
        const auto began = Clock::now();
        const ProbeAnswer result =
            win32AskDnsServerAt("127.0.0.1", server.port(), milliseconds(700));
        const auto took = Clock::now() - began;
        EXPECT_EQ(result.kind, answer ? ProbeAnswer::Kind::Answered : ProbeAnswer::Kind::NoAnswer);
        EXPECT_LT(took, milliseconds(700) + milliseconds(800)) << "ends by its own limit";
        if (!answer) {
            EXPECT_GE(took, milliseconds(650));
        }
    }
}

TEST(Win32ConnectionProbe, AsksAndEndsByItsOwnTimeLimit) {
    const auto probe = makeSystemConnectionProbe();
    EXPECT_FALSE(probe->readLink("no such connection").found);
    EXPECT_EQ(probe->askDnsServer("dns.example", milliseconds(100)).kind,
              ProbeAnswer::Kind::NotPossible);

    EXPECT_EQ(probe->askGateway("", "10.0.0.256", milliseconds(100)).kind,
              ProbeAnswer::Kind::NotPossible);

    // The loopback only, so that nothing leaves the machine: whether wine answers the echo
    // request or not, the question ends by its limit.
    const auto began = Clock::now();
    const ProbeAnswer result = probe->askGateway("", "127.0.0.1", milliseconds(800));
    const auto took = Clock::now() - began;
    EXPECT_NE(result.kind, ProbeAnswer::Kind::NotPossible) << result.detail;
    EXPECT_LT(took, milliseconds(800) + milliseconds(1200));
}

}  // namespace
}  // namespace quorrel::platform
