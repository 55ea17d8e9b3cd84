#include "netsh/ArpProbe.h"

#include <gtest/gtest.h>

#include <deque>

#include "netsh/Ipv4.h"

namespace quorrel::netsh {
namespace {

using namespace std::chrono_literals;
using Clock = ArpLink::Clock;

const MacAddress kOwn = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
const MacAddress kOther = {0x0A, 0xBC, 0xDE, 0xF0, 0x12, 0x34};

std::uint32_t ip(const char* text) {
    return *parseIpv4(text);
}

// An ARP packet as a host on the link sends it.
std::vector<std::uint8_t> arp(std::uint16_t op, const MacAddress& senderMac, const char* senderIp,
                              const char* targetIp) {
    std::vector<std::uint8_t> p = buildArpProbe(senderMac, ip(targetIp));
    p[7] = static_cast<std::uint8_t>(op);
    const std::uint32_t sender = ip(senderIp);
    for (int i = 0; i < 4; ++i) {
        p[14 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sender >> (24 - 8 * i));
    }
    return p;
}

TEST(ArpProbe, TheProbeAsksForTheAddressWithoutGivingOneAway) {
    const std::vector<std::uint8_t> expected = {
        0x00, 0x01, 0x08, 0x00, 6,    4,    0x00, 0x01,  // Ethernet, IPv4, request
        0x02, 0x00, 0x00, 0x00, 0x00, 0x01,              // sender hardware address: ours
        0,    0,    0,    0,                             // sender IP 0.0.0.0
        0,    0,    0,    0,    0,    0,                 // target hardware address unknown
        10,   77,   0,    20,                            // the address asked about
    };
    EXPECT_EQ(buildArpProbe(kOwn, ip("10.77.0.20")), expected);
    EXPECT_EQ(formatMac(kOther), "0A:BC:DE:F0:12:34");
}

TEST(ArpProbe, ReadsWhoElseUsesTheAddress) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> packet;
        bool conflict;
    };
    std::vector<std::uint8_t> rarp = arp(1, kOther, "10.77.0.20", "10.77.0.1");
    rarp[7] = 3;
    std::vector<std::uint8_t> ipv6 = arp(2, kOther, "10.77.0.20", "0.0.0.0");
    ipv6[2] = 0x86;
    ipv6[3] = 0xDD;
    std::vector<std::uint8_t> shortPacket = arp(2, kOther, "10.77.0.20", "0.0.0.0");
    shortPacket.resize(27);
    const Case cases[] = {
        {"the holder's answer to our probe", arp(2, kOther, "10.77.0.20", "0.0.0.0"), true},
        {"the holder asking someone else", arp(1, kOther, "10.77.0.20", "10.77.0.1"), true},
        {"another host probing the address now", arp(1, kOther, "0.0.0.0", "10.77.0.20"), true},
        {"our own probe", buildArpProbe(kOwn, ip("10.77.0.20")), false},
        {"another address's answer", arp(2, kOther, "10.77.0.21", "0.0.0.0"), false},
        {"someone asking for the address", arp(1, kOther, "10.77.0.9", "10.77.0.20"), false},
        {"a reply to a probe of another address", arp(2, kOther, "0.0.0.0", "10.77.0.20"), false},
        {"reverse ARP", rarp, false},
        {"not IPv4", ipv6, false},
        {"cut short", shortPacket, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto user = addressUserIn(c.packet, ip("10.77.0.20"), kOwn);
        EXPECT_EQ(user.has_value(), c.conflict);
        if (c.conflict && user) {
            EXPECT_EQ(*user, kOther);
        }
    }
}

// A link whose time passes only while the probe waits on it; packets arrive at set times.
class FakeLink final : public ArpLink {
public:
    struct Arrival {
        std::chrono::milliseconds at;
        std::vector<std::uint8_t> packet;
    };
    std::deque<Arrival> arrivals;
    std::vector<std::chrono::milliseconds> sentAt;
    std::string sendError;

    std::string send(const std::vector<std::uint8_t>& packet) override {
        EXPECT_EQ(packet, buildArpProbe(kOwn, ip("10.77.0.20")));
        sentAt.push_back(elapsed());
        return sendError;
    }
    std::optional<std::vector<std::uint8_t>> receive(Clock::time_point until) override {
        if (!arrivals.empty() && start_ + arrivals.front().at < until) {
            now_ = std::max(now_, start_ + arrivals.front().at);
            auto packet = std::move(arrivals.front().packet);
            arrivals.pop_front();
            return packet;
        }
        now_ = std::max(now_, until);
        return std::nullopt;
    }
    Clock::time_point now() const override { return now_; }
    std::chrono::milliseconds elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - start_);
    }

private:
    Clock::time_point start_ = Clock::time_point() + 1h;
    Clock::time_point now_ = start_;
};

TEST(ArpProbe, NoAnswerMeansFreeAfterThreeProbesWithin200Ms) {
    FakeLink link;
    // Packets of no concern do not end the probe early.
    link.arrivals = {{20ms, arp(1, kOther, "10.77.0.9", "10.77.0.1")},
                     {120ms, arp(2, kOther, "10.77.0.21", "0.0.0.0")}};
    const ProbeResult result = probeAddress(link, kOwn, ip("10.77.0.20"));
    EXPECT_EQ(result.kind, ProbeResult::Kind::Free);
    EXPECT_EQ(link.sentAt, (std::vector<std::chrono::milliseconds>{0ms, 50ms, 100ms}));
    EXPECT_EQ(link.elapsed(), 190ms);
}

TEST(ArpProbe, AnAnswerEndsTheProbeAtOnceAndNamesTheHolder) {
    FakeLink link;
    link.arrivals = {{3ms, arp(2, kOther, "10.77.0.20", "0.0.0.0")}};
    const ProbeResult result = probeAddress(link, kOwn, ip("10.77.0.20"));
    EXPECT_EQ(result.kind, ProbeResult::Kind::InUse);
    EXPECT_EQ(result.holder, kOther);
    EXPECT_EQ(link.sentAt.size(), 1u);
    EXPECT_EQ(link.elapsed(), 3ms);

    // A slow host, 150 ms late with its answer to the first probe, is still heard.
    FakeLink slow;
    slow.arrivals = {{150ms, arp(2, kOther, "10.77.0.20", "0.0.0.0")}};
    EXPECT_EQ(probeAddress(slow, kOwn, ip("10.77.0.20")).kind, ProbeResult::Kind::InUse);
    EXPECT_EQ(slow.sentAt.size(), 3u);
}

TEST(ArpProbe, ALinkThatCannotSendIsAFailureNotAFreeAddress) {
    FakeLink link;
    link.sendError = "cannot send an ARP probe: Network is down";
    const ProbeResult result = probeAddress(link, kOwn, ip("10.77.0.20"));
    EXPECT_EQ(result.kind, ProbeResult::Kind::Failed);
    EXPECT_EQ(result.error, "cannot send an ARP probe: Network is down");
}

}  // namespace
}  // namespace quorrel::netsh
