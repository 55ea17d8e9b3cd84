#include <gtest/gtest.h>

#include "apply/ConnectionChecks.h"
#include "tests/core/FakeConnectionProbe.h"

namespace quorrel {
namespace {

using std::chrono::milliseconds;
using test::FakeCheckWorld;
using test::FakeConnectionProbe;

IpProfile staticProfile() {
    IpProfile p;
    p.ipAddress = "10.1.0.5";
    p.subnetMask = "255.255.255.0";
    p.gateway = "10.1.0.1";
    p.primaryDns = "10.1.0.53";
    p.secondaryDns = "10.1.0.54";
    return p;
}

IpProfile dhcpProfile() {
    IpProfile p;
    p.useDhcp = 1;
    p.dnsAuto = 1;
    return p;
}

platform::LinkReading upWith(std::vector<std::string> addresses, std::string gateway = {},
                             std::vector<std::string> dns = {}) {
    platform::LinkReading r;
    r.found = true;
    r.up = true;
    r.addresses = std::move(addresses);
    r.gateway = std::move(gateway);
    r.dnsServers = std::move(dns);
    return r;
}

// Polls every 50 ms of the fake clock, the questions answering at once, until the checks
// end or `limit` has passed.
void runChecks(ConnectionChecks& checks, FakeCheckWorld& world, milliseconds limit) {
    checks.start();
    const auto end = world.time + limit;
    while (!checks.finished() && world.time <= end) {
        do {
            world.runJobs();
            checks.poll();
        } while (!world.jobs.empty());
        if (!checks.finished()) {
            world.advance(milliseconds(50));
        }
    }
}

std::vector<std::string> texts(const ConnectionChecks& checks) {
    std::vector<std::string> out;
    for (const CheckLine& line : checks.lines()) {
        out.push_back(line.text);
    }
    return out;
}

TEST(ConnectionChecks, EverythingAnsweringPassesAtOnce) {
    FakeCheckWorld world;
    world.probe->reading = upWith({"10.1.0.5"});
    world.probe->gatewayAnswer = FakeConnectionProbe::answer("ARP");
    world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
    ConnectionChecks checks(staticProfile(), "eth0", world.services());
    runChecks(checks, world, milliseconds(5000));

    ASSERT_TRUE(checks.finished());
    EXPECT_TRUE(checks.allPassed());
    EXPECT_EQ(checks.elapsed(), milliseconds(0));
    EXPECT_EQ(texts(checks), (std::vector<std::string>{
                                 "[정상] 연결: eth0 연결됨, 주소 10.1.0.5",
                                 "[정상] 게이트웨이 10.1.0.1: 응답함 (ARP, 0ms)",
                                 "[정상] DNS 서버 10.1.0.53: 응답함 (0ms)",
                             }));
    // The questions get the whole time less the margin.
    EXPECT_EQ(world.probe->limitsGiven,
              (std::vector<milliseconds>{milliseconds(2800), milliseconds(2800)}));
}

TEST(ConnectionChecks, LinkIsReadAgainUntilTheAddressArrives) {
    FakeCheckWorld world;
    world.probe->reading = upWith({});
    world.probe->gatewayAnswer = FakeConnectionProbe::answer("ICMP");
    world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
    ConnectionChecks checks(staticProfile(), "eth0", world.services());
    checks.start();
    for (int i = 0; i < 6; ++i) {
        world.runJobs();
        checks.poll();
        world.advance(milliseconds(50));
    }
    EXPECT_FALSE(checks.finished());
    EXPECT_GE(world.probe->linkReads, 3);
    EXPECT_TRUE(world.probe->gatewaysAsked.empty());

    world.probe->reading = upWith({"10.1.0.9", "10.1.0.5"});
    runChecks(checks, world, milliseconds(3000));
    EXPECT_TRUE(checks.allPassed());
    EXPECT_LT(checks.elapsed(), milliseconds(1000));
    EXPECT_EQ(world.probe->gatewaysAsked, std::vector<std::string>{"10.1.0.1"});
}

// Link failures: the last reading at the link's time limit names the fault; the gateway
// and DNS are still asked, so the user sees the whole picture.
TEST(ConnectionChecks, LinkFaultsAreNamedAtTheLinkLimit) {
    struct Case {
        const char* name;
        IpProfile profile;
        platform::LinkReading reading;
        const char* line;
    };
    platform::LinkReading missing;
    platform::LinkReading down = upWith({"10.1.0.5"});
    down.up = false;
    const Case cases[] = {
        {"missing", staticProfile(), missing, "[실패] 연결: 어댑터 eth0을(를) 찾을 수 없습니다"},
        {"down", staticProfile(), down, "[실패] 연결: eth0의 링크가 끊겨 있습니다"},
        {"wrong address", staticProfile(), upWith({"10.1.0.6"}),
         "[실패] 연결: eth0에 주소 10.1.0.5이(가) 없습니다"},
        {"no lease", dhcpProfile(), upWith({}), "[실패] 연결: eth0이(가) 주소를 받지 못했습니다"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCheckWorld world;
        world.probe->reading = c.reading;
        world.probe->gatewayAnswer = FakeConnectionProbe::answer("ARP");
        world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
        ConnectionChecks checks(c.profile, "eth0", world.services());
        runChecks(checks, world, milliseconds(5000));
        ASSERT_TRUE(checks.finished());
        EXPECT_FALSE(checks.allPassed());
        EXPECT_EQ(checks.lines()[0].verdict, CheckVerdict::Failed);
        EXPECT_EQ(checks.lines()[0].text, c.line);
        EXPECT_EQ(checks.elapsed(), milliseconds(1000));
    }
}

TEST(ConnectionChecks, SilentPeersFailWithinTheWholeLimit) {
    FakeCheckWorld world;
    world.probe->reading = upWith({"10.1.0.5"});
    world.probe->gatewayAnswer = FakeConnectionProbe::silence();
    world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
    ConnectionChecks checks(staticProfile(), "eth0", world.services());
    checks.start();
    world.runJobs();  // the link reading only
    checks.poll();
    // The questions hang: they are never run, the time limit alone decides.
    while (!checks.finished() &&
           world.time < FakeCheckWorld::Clock::time_point{} + std::chrono::hours(2)) {
        world.advance(milliseconds(50));
        checks.poll();
    }
    ASSERT_TRUE(checks.finished());
    EXPECT_EQ(checks.elapsed(), milliseconds(2900));
    EXPECT_EQ(texts(checks)[1], "[실패] 게이트웨이 10.1.0.1: 응답 없음 (2.9초 기다림)");
    EXPECT_EQ(texts(checks)[2], "[실패] DNS 서버 10.1.0.53: 응답 없음 (2.9초 기다림)");

    // An answer that comes after the limit changes nothing.
    world.runJobs();
    EXPECT_FALSE(checks.poll());
    EXPECT_EQ(checks.lines()[2].verdict, CheckVerdict::Failed);
}

TEST(ConnectionChecks, PeerAnswersDecideTheirLines) {
    struct Case {
        const char* name;
        platform::ProbeAnswer gateway;
        platform::ProbeAnswer dns;
        bool passed;
        const char* gatewayLine;
        const char* dnsLine;
    };
    platform::ProbeAnswer impossible;
    impossible.kind = platform::ProbeAnswer::Kind::NotPossible;
    const Case cases[] = {
        {"gateway silent", FakeConnectionProbe::silence(), FakeConnectionProbe::answer("DNS"),
         false, "[실패] 게이트웨이 10.1.0.1: 응답 없음 (0ms 기다림)",
         "[정상] DNS 서버 10.1.0.53: 응답함 (0ms)"},
        {"dns refused", FakeConnectionProbe::answer("ICMP"),
         FakeConnectionProbe::silence("refused"), false,
         "[정상] 게이트웨이 10.1.0.1: 응답함 (ICMP, 0ms)",
         "[실패] DNS 서버 10.1.0.53: DNS 질의를 받지 않습니다"},
        {"not possible here", impossible, impossible, true,
         "[생략] 게이트웨이 10.1.0.1: 확인할 수 없습니다",
         "[생략] DNS 서버 10.1.0.53: 확인할 수 없습니다"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCheckWorld world;
        world.probe->reading = upWith({"10.1.0.5"});
        world.probe->gatewayAnswer = c.gateway;
        world.probe->dnsAnswer = c.dns;
        ConnectionChecks checks(staticProfile(), "eth0", world.services());
        runChecks(checks, world, milliseconds(5000));
        ASSERT_TRUE(checks.finished());
        EXPECT_EQ(checks.allPassed(), c.passed);
        EXPECT_EQ(texts(checks)[1], c.gatewayLine);
        EXPECT_EQ(texts(checks)[2], c.dnsLine);
    }
}

// Which gateway and DNS server are asked: the profile's own, or under DHCP and automatic
// DNS what the adapter obtained; nothing to ask is skipped and does not fail.
TEST(ConnectionChecks, TargetsComeFromTheProfileOrTheLease) {
    struct Case {
        const char* name;
        IpProfile profile;
        platform::LinkReading reading;
        std::vector<std::string> gateways;
        std::vector<std::string> dns;
    };
    IpProfile noPeers = staticProfile();
    noPeers.gateway.clear();
    noPeers.primaryDns.clear();
    noPeers.secondaryDns.clear();
    IpProfile secondaryOnly = staticProfile();
    secondaryOnly.primaryDns = "0.0.0.0";
    IpProfile dhcpManualDns = dhcpProfile();
    dhcpManualDns.dnsAuto = 0;
    dhcpManualDns.primaryDns = "9.9.9.9";
    const Case cases[] = {
        {"static",
         staticProfile(),
         upWith({"10.1.0.5"}, "10.1.0.99", {"10.1.0.98"}),
         {"10.1.0.1"},
         {"10.1.0.53"}},
        {"secondary DNS only", secondaryOnly, upWith({"10.1.0.5"}), {"10.1.0.1"}, {"10.1.0.54"}},
        {"lease",
         dhcpProfile(),
         upWith({"192.168.7.20"}, "192.168.7.1", {"192.168.7.2", "x"}),
         {"192.168.7.1"},
         {"192.168.7.2"}},
        {"lease, own DNS",
         dhcpManualDns,
         upWith({"192.168.7.20"}, "192.168.7.1", {"1.1.1.1"}),
         {"192.168.7.1"},
         {"9.9.9.9"}},
        {"nothing to ask", noPeers, upWith({"10.1.0.5"}), {}, {}},
        {"lease without gateway or DNS", dhcpProfile(), upWith({"192.168.7.20"}), {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCheckWorld world;
        world.probe->reading = c.reading;
        world.probe->gatewayAnswer = FakeConnectionProbe::answer("ARP");
        world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
        ConnectionChecks checks(c.profile, "eth0", world.services());
        runChecks(checks, world, milliseconds(5000));
        ASSERT_TRUE(checks.finished());
        EXPECT_TRUE(checks.allPassed());
        EXPECT_EQ(world.probe->gatewaysAsked, c.gateways);
        EXPECT_EQ(world.probe->dnsAsked, c.dns);
        if (c.gateways.empty()) {
            EXPECT_EQ(checks.lines()[1].text, "[생략] 게이트웨이: 없어서 확인하지 않았습니다");
        }
    }
}

TEST(ConnectionChecks, WithoutAProbeEveryCheckIsSkipped) {
    ConnectionCheckServices services;
    ConnectionChecks checks(staticProfile(), "eth0", services);
    checks.start();
    EXPECT_TRUE(checks.finished());
    EXPECT_EQ(checks.lines()[0].text, "[생략] 연결: eth0의 상태를 읽지 못했습니다");
}

TEST(ConnectionChecks, DurationsReadAsMillisecondsOrTenthsOfSeconds) {
    EXPECT_EQ(durationText(milliseconds(0)), "0ms");
    EXPECT_EQ(durationText(milliseconds(999)), "999ms");
    EXPECT_EQ(durationText(milliseconds(1000)), "1.0초");
    EXPECT_EQ(durationText(milliseconds(1849)), "1.8초");
    EXPECT_EQ(durationText(milliseconds(1950)), "2.0초");
    EXPECT_EQ(durationText(milliseconds(-5)), "0ms");
}

}  // namespace
}  // namespace quorrel
