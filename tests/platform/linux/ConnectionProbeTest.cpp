// The Linux connection probe against this machine's loopback, as the user: the link
// reading, DNS questions answered by a server of the test's own, and the time limits.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/DnsMessage.h"
#include "platform/linux/LinuxConnectionProbe.h"

namespace quorrel::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A UDP socket on 127.0.0.1 with a port of the kernel's choice. `mode` says what it does
// with a question: answer it (as a reply with the "no such name" code), answer with a
// wrong identifier, or say nothing.
class LoopbackDnsServer {
public:
    enum class Mode { Answer, WrongId, Silent };

    explicit LoopbackDnsServer(Mode mode) : mode_(mode) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
        socklen_t size = sizeof local;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size);
        port_ = ntohs(local.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackDnsServer() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    std::uint16_t port() const { return port_; }
    int questions() const { return questions_; }

private:
    void serve() {
        while (!stop_) {
            pollfd wait{fd_, POLLIN, 0};
            if (::poll(&wait, 1, 20) <= 0) {
                continue;
            }
            std::uint8_t buffer[512];
            sockaddr_in from{};
            socklen_t size = sizeof from;
            const ssize_t got = ::recvfrom(fd_, buffer, sizeof buffer, 0,
                                           reinterpret_cast<sockaddr*>(&from), &size);
            if (got < 12) {
                continue;
            }
            ++questions_;
            if (mode_ == Mode::Silent) {
                continue;
            }
            buffer[2] |= 0x80;
            buffer[3] = 0x83;
            if (mode_ == Mode::WrongId) {
                buffer[0] ^= 0xFF;
            }
            ::sendto(fd_, buffer, static_cast<std::size_t>(got), 0,
                     reinterpret_cast<sockaddr*>(&from), size);
        }
    }

    Mode mode_;
    int fd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> questions_{0};
    std::thread thread_;
};

// A loopback port nobody listens on: bound, noted and closed again.
std::uint16_t closedPort() {
    LoopbackDnsServer gone(LoopbackDnsServer::Mode::Silent);
    return gone.port();
}

TEST(LinuxConnectionProbe, DnsQuestionsEndWithTheirAnswerOrTheirTime) {
    struct Case {
        const char* name;
        LoopbackDnsServer::Mode mode;
        ProbeAnswer::Kind kind;
        milliseconds atLeast;
    };
    const Case cases[] = {
        {"answers, no such name", LoopbackDnsServer::Mode::Answer, ProbeAnswer::Kind::Answered,
         milliseconds(0)},
        {"a stranger's reply", LoopbackDnsServer::Mode::WrongId, ProbeAnswer::Kind::NoAnswer,
         milliseconds(600)},
        {"silent", LoopbackDnsServer::Mode::Silent, ProbeAnswer::Kind::NoAnswer, milliseconds(600)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackDnsServer server(c.mode);
        const auto began = Clock::now();
        const ProbeAnswer answer = askDnsServerAt("127.0.0.1", server.port(), milliseconds(600));
        const auto took = Clock::now() - began;
        EXPECT_EQ(answer.kind, c.kind);
        EXPECT_GE(took, c.atLeast);
        EXPECT_LT(took, milliseconds(600) + milliseconds(400)) << "ends by its own limit";
        if (c.mode == LoopbackDnsServer::Mode::Silent) {
            EXPECT_GE(server.questions(), 1);
        }
    }
}

TEST(LinuxConnectionProbe, AClosedDnsPortIsRefusedAtOnce) {
    const std::uint16_t port = closedPort();
    const auto began = Clock::now();
    const ProbeAnswer answer = askDnsServerAt("127.0.0.1", port, milliseconds(2000));
    EXPECT_EQ(answer.kind, ProbeAnswer::Kind::NoAnswer);
    EXPECT_EQ(answer.detail, "refused");
    EXPECT_LT(Clock::now() - began, milliseconds(1500));
}

TEST(LinuxConnectionProbe, NotAnAddressCannotBeAsked) {
    LinuxConnectionProbe probe;
    EXPECT_EQ(probe.askDnsServer("dns.example", milliseconds(100)).kind,
              ProbeAnswer::Kind::NotPossible);
    EXPECT_EQ(probe.askGateway("lo", "10.0.0.256", milliseconds(100)).kind,
              ProbeAnswer::Kind::NotPossible);
    EXPECT_EQ(probe.askGateway("no-such-if0", "10.0.0.1", milliseconds(100)).kind,
              ProbeAnswer::Kind::NotPossible);
}

TEST(LinuxConnectionProbe, TheLoopbackIsReadAndAnswers) {
    LinuxConnectionProbe probe;
    const LinkReading lo = probe.readLink("lo");
    EXPECT_TRUE(lo.found);
    EXPECT_TRUE(lo.up);
    EXPECT_NE(std::find(lo.addresses.begin(), lo.addresses.end(), "127.0.0.1"), lo.addresses.end());
    EXPECT_FALSE(probe.readLink("no-such-if0").found);

    // Nothing listens on the discard port: the refusal is the answer.
    const ProbeAnswer answer = probe.askGateway("lo", "127.0.0.1", milliseconds(1000));
    EXPECT_EQ(answer.kind, ProbeAnswer::Kind::Answered) << answer.detail;
}

TEST(LinuxConnectionProbe, ResolverServersAreTheIpv4NameserverLines) {
    const std::string text =
        "# comment\n"
        "search example.com\n"
        "nameserver 10.0.0.53\n"
        "nameserver   fe80::1\n"
        "nameserver\t10.0.0.54 # second\n"
        "nameserver 300.1.1.1\n"
        "  nameserver 10.0.0.55\n"
        "nameservers 10.0.0.56\n";
    EXPECT_EQ(resolverServers(text),
              (std::vector<std::string>{"10.0.0.53", "10.0.0.54", "10.0.0.55"}));
}

}  // namespace
}  // namespace quorrel::platform
