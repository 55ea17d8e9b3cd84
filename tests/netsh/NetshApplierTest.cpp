#include "netsh/NetshApplier.h"

#include <gtest/gtest.h>

#include "platform/linux/NetworkState.h"
#include "tests/netsh/NetshFakes.h"
#include "tests/support/TempFolder.h"

namespace quorrel::netsh {
namespace {

using platform::InterfaceState;

class NetshApplierTest : public ::testing::Test {
protected:
    std::string apply(const NetshCommand& command) {
        NetshApplier applier(runner_, dhcp_, dns_, folder_.path());
        return applier.apply(command);
    }

    std::optional<InterfaceState> recorded() {
        return platform::readInterfaceState(folder_.path(), "eth0");
    }

    void record(const InterfaceState& state) {
        std::string error;
        ASSERT_TRUE(platform::writeInterfaceState(folder_.path(), "eth0", state, error)) << error;
    }

    static NetshCommand fixed(std::string gateway = "", std::optional<std::string> metric = {}) {
        NetshCommand c;
        c.interfaceName = "eth0";
        c.address = "10.0.0.5";
        c.mask = "255.255.255.0";
        c.gateway = std::move(gateway);
        c.gatewayMetric = std::move(metric);
        return c;
    }

    static NetshCommand dns(NetshAction action, std::string server, bool dhcp = false,
                            std::optional<std::string> index = {}) {
        NetshCommand c;
        c.action = action;
        c.interfaceName = "eth0";
        c.address = std::move(server);
        c.dhcp = dhcp;
        c.index = std::move(index);
        return c;
    }

    static InterfaceState leased() {
        InterfaceState state;
        state.dhcp = true;
        state.dnsAuto = true;
        state.lease.emplace();
        state.lease->address = "10.9.0.50";
        state.lease->dnsServers = {"10.9.0.53", "10.9.0.54"};
        return state;
    }

    test::TempFolder folder_;
    fakes::RecordingRunner runner_;
    fakes::FakeDhcpClient dhcp_;
    fakes::FakeDns dns_;
};

TEST_F(NetshApplierTest, FixedAddressReplacesAddressesAndDefaultRoutes) {
    InterfaceState before = leased();
    before.dnsAuto = false;
    before.dnsServers = {"1.1.1.1"};
    record(before);

    ASSERT_EQ(apply(fixed("10.0.0.1", "1")), "");
    EXPECT_EQ(dhcp_.calls, std::vector<std::string>{"stop eth0"});
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip link set dev eth0 up",
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 addr add 10.0.0.5/24 broadcast + dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                                 "ip -4 route append default via 10.0.0.1 dev eth0 metric 1",
                             }));
    const auto state = recorded();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->dhcp, false);
    EXPECT_FALSE(state->lease);
    EXPECT_EQ(state->dnsServers, std::vector<std::string>{"1.1.1.1"}) << "DNS is not touched";
    EXPECT_EQ(dns_.applied, 0);
}

TEST_F(NetshApplierTest, FixedAddressWithoutGatewayOrMetric) {
    ASSERT_EQ(apply(fixed()), "");
    EXPECT_EQ(runner_.lines.size(), 4u);
    EXPECT_EQ(runner_.lines.back(), "ip -4 route flush exact 0.0.0.0/0 dev eth0");

    runner_.lines.clear();
    ASSERT_EQ(apply(fixed("10.0.0.1")), "");
    EXPECT_EQ(runner_.lines.back(), "ip -4 route append default via 10.0.0.1 dev eth0");
}

TEST_F(NetshApplierTest, AFailingStepStopsAndRecordsNothing) {
    runner_.failOn = "addr add";
    const std::string error = apply(fixed("10.0.0.1", "1"));
    EXPECT_NE(error.find("10.0.0.5"), std::string::npos) << error;
    EXPECT_NE(error.find("Operation not permitted"), std::string::npos) << error;
    EXPECT_EQ(runner_.lines.size(), 3u) << "nothing after the failed step";
    EXPECT_FALSE(recorded());
}

TEST_F(NetshApplierTest, DhcpClearsTheInterfaceAndRecordsBeforeTheClientStarts) {
    InterfaceState before;
    before.dhcp = false;
    before.dnsServers = {"1.1.1.1"};
    before.dnsAuto = false;
    record(before);

    NetshCommand c;
    c.interfaceName = "eth0";
    c.dhcp = true;
    ASSERT_EQ(apply(c), "");
    EXPECT_EQ(dhcp_.calls, (std::vector<std::string>{"stop eth0", "start eth0"}));
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip link set dev eth0 up",
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                             }));
    EXPECT_EQ(recorded()->dhcp, true);
    EXPECT_EQ(recorded()->dnsServers, std::vector<std::string>{"1.1.1.1"});

    dhcp_.startError = "no DHCP lease for eth0 within 10 s";
    EXPECT_EQ(apply(c), "no DHCP lease for eth0 within 10 s");
}

TEST_F(NetshApplierTest, SetDnsStaticAndBackToTheLease) {
    record(leased());
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "168.126.63.1")), "");
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{"168.126.63.1"});
    EXPECT_EQ(recorded()->dnsAuto, false);
    EXPECT_EQ(recorded()->dnsServers, std::vector<std::string>{"168.126.63.1"});
    EXPECT_TRUE(recorded()->lease) << "the lease stays";

    ASSERT_EQ(apply(dns(NetshAction::SetDns, "")), "");
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{});
    EXPECT_EQ(recorded()->dnsServers, std::vector<std::string>{});

    ASSERT_EQ(apply(dns(NetshAction::SetDns, "", true)), "");
    EXPECT_EQ(dns_.lastServers, (std::vector<std::string>{"10.9.0.53", "10.9.0.54"}));
    EXPECT_EQ(recorded()->dnsAuto, true);
}

TEST_F(NetshApplierTest, AutomaticDnsWithoutALeaseHasNoServers) {
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "", true)), "");
    EXPECT_EQ(dns_.applied, 1);
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{});
    EXPECT_EQ(recorded()->dnsAuto, true);
}

TEST_F(NetshApplierTest, AddDnsInsertsAtTheIndex) {
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "1.1.1.1")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "2.2.2.2")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "3.3.3.3", false, "2")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "4.4.4.4", false, "99")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "5.5.5.5", false, "1")), "");
    const std::vector<std::string> expected = {"5.5.5.5", "1.1.1.1", "3.3.3.3", "2.2.2.2",
                                               "4.4.4.4"};
    EXPECT_EQ(dns_.lastServers, expected);
    EXPECT_EQ(recorded()->dnsServers, expected);

    const int before = dns_.applied;
    EXPECT_NE(apply(dns(NetshAction::AddDns, "3.3.3.3")), "") << "already in the list";
    EXPECT_EQ(dns_.applied, before);
    EXPECT_EQ(recorded()->dnsServers, expected);
}

TEST_F(NetshApplierTest, AddDnsToAutomaticDnsStartsAHandSetList) {
    record(leased());
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "8.8.8.8", false, "2")), "");
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{"8.8.8.8"});
    EXPECT_EQ(recorded()->dnsAuto, false);
}

TEST_F(NetshApplierTest, AResolverFailureRecordsNothing) {
    record(leased());
    dns_.error = "cannot write /etc/resolv.conf: Read-only file system";
    EXPECT_EQ(apply(dns(NetshAction::SetDns, "1.1.1.1")), dns_.error);
    EXPECT_EQ(recorded(), leased());
}

}  // namespace
}  // namespace quorrel::netsh
