#include "netsh/DhcpHook.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "platform/linux/NetworkState.h"
#include "tests/netsh/NetshFakes.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel::netsh {
namespace {

using platform::InterfaceState;

EnvironmentLookup environment(std::map<std::string, std::string> values) {
    return [values](const std::string& name) -> std::optional<std::string> {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

std::map<std::string, std::string> udhcpcBound() {
    return {{"interface", "eth0"},
            {"ip", "10.9.0.52"},
            {"subnet", "255.255.255.0"},
            {"router", "10.9.0.1 10.9.0.2"},
            {"dns", "10.9.0.53 bogus 10.9.0.54"},
            {"serverid", "10.9.0.1"},
            {"lease", "3600"},
            {"QUORREL_DHCP_HOOK", "1"}};
}

TEST(DhcpEvent, ReadsUdhcpcEvents) {
    const auto bound = readDhcpEvent({"bound"}, environment(udhcpcBound()));
    ASSERT_TRUE(bound) << bound.error();
    EXPECT_EQ(bound->kind, DhcpEvent::Kind::Bound);
    EXPECT_EQ(bound->interfaceName, "eth0");
    EXPECT_EQ(bound->address, "10.9.0.52");
    EXPECT_EQ(bound->mask, "255.255.255.0");
    EXPECT_EQ(bound->router, "10.9.0.1");
    EXPECT_EQ(bound->server, "10.9.0.1");
    EXPECT_EQ(bound->dnsServers, (std::vector<std::string>{"10.9.0.53", "10.9.0.54"}));
    EXPECT_EQ(bound->leaseSeconds, 3600);

    EXPECT_EQ(readDhcpEvent({"deconfig"}, environment({{"interface", "eth0"}}))->kind,
              DhcpEvent::Kind::Deconfig);
    EXPECT_EQ(readDhcpEvent({"leasefail"}, environment({{"interface", "eth0"}}))->kind,
              DhcpEvent::Kind::Ignore);
    EXPECT_TRUE(isDhcpHookCall(environment(udhcpcBound())));
    EXPECT_FALSE(isDhcpHookCall(environment({{"interface", "eth0"}})));
}

TEST(DhcpEvent, ReadsDhclientEvents) {
    const auto bound = readDhcpEvent({}, environment({{"reason", "REBOOT"},
                                                      {"interface", "eth1"},
                                                      {"new_ip_address", "192.168.5.20"},
                                                      {"new_subnet_mask", "255.255.0.0"},
                                                      {"new_routers", "192.168.0.1"},
                                                      {"new_domain_name_servers", "192.168.0.53"},
                                                      {"new_dhcp_server_identifier", "192.168.0.2"},
                                                      {"new_dhcp_lease_time", "600"}}));
    ASSERT_TRUE(bound) << bound.error();
    EXPECT_EQ(bound->kind, DhcpEvent::Kind::Bound);
    EXPECT_EQ(bound->address, "192.168.5.20");
    EXPECT_EQ(bound->mask, "255.255.0.0");
    EXPECT_EQ(bound->server, "192.168.0.2");
    EXPECT_EQ(bound->leaseSeconds, 600);
    EXPECT_EQ(readDhcpEvent({}, environment({{"reason", "PREINIT"}, {"interface", "eth1"}}))->kind,
              DhcpEvent::Kind::LinkUp);
    EXPECT_EQ(readDhcpEvent({}, environment({{"reason", "EXPIRE"}, {"interface", "eth1"}}))->kind,
              DhcpEvent::Kind::Deconfig);
}

TEST(DhcpEvent, RefusesLeasesItCannotApply) {
    auto env = udhcpcBound();
    env["ip"] = "10.9.0.300";
    EXPECT_FALSE(readDhcpEvent({"bound"}, environment(env)));
    env = udhcpcBound();
    env["subnet"] = "255.0.255.0";
    EXPECT_FALSE(readDhcpEvent({"renew"}, environment(env)));
    env = udhcpcBound();
    env["interface"] = "../../etc";
    EXPECT_FALSE(readDhcpEvent({"bound"}, environment(env)));
    EXPECT_FALSE(readDhcpEvent({}, environment({{"interface", "eth0"}}))) << "no event";
}

class DhcpHookApply : public ::testing::Test {
protected:
    DhcpEvent event(DhcpEvent::Kind kind, std::string address = "10.9.0.52",
                    std::string router = "10.9.0.1") {
        DhcpEvent e;
        e.kind = kind;
        e.interfaceName = "eth0";
        e.address = std::move(address);
        e.mask = "255.255.255.0";
        e.router = std::move(router);
        e.server = "10.9.0.1";
        e.dnsServers = {"10.9.0.53"};
        e.leaseSeconds = 600;
        return e;
    }

    std::string apply(const DhcpEvent& e, std::int64_t now = 1000) {
        runner_.lines.clear();
        return applyDhcpEvent(e, runner_, states_, now).error();
    }

    void record(const InterfaceState& state) {
        ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(folder_.path(), "eth0", state)));
    }

    InterfaceState recorded() {
        return platform::readInterfaceState(folder_.path(), "eth0").value_or(InterfaceState{});
    }

    test::TempFolder folder_;
    fakes::RecordingRunner runner_;
    fakes::FakeDns dns_;
    fakes::FakeInterfaces interfaces_{{"eth0", "eth1"}};
    StateKeeper states_{folder_.path(), dns_, interfaces_};
};

TEST_F(DhcpHookApply, ABoundLeaseIsAppliedAndRecorded) {
    InterfaceState state;
    state.dhcp = true;
    state.dnsAuto = true;
    record(state);

    ASSERT_EQ(apply(event(DhcpEvent::Kind::Bound), 1000), "");
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 addr add 10.9.0.52/24 broadcast + dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                                 "ip -4 route append default via 10.9.0.1 dev eth0",
                             }));
    const auto lease = recorded().lease;
    ASSERT_TRUE(lease);
    EXPECT_EQ(lease->address, "10.9.0.52");
    EXPECT_EQ(lease->server, "10.9.0.1");
    EXPECT_EQ(lease->obtained, 1000);
    EXPECT_EQ(lease->expires, 1600);
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{"10.9.0.53"}) << "automatic DNS";
    EXPECT_EQ(recorded().dnsAuto, true);
}

TEST_F(DhcpHookApply, ARenewalTouchesOnlyWhatChanged) {
    InterfaceState state;
    state.dhcp = true;
    state.dnsAuto = false;
    state.dnsServers = {"1.1.1.1"};
    record(state);
    ASSERT_EQ(apply(event(DhcpEvent::Kind::Bound)), "");

    ASSERT_EQ(apply(event(DhcpEvent::Kind::Renew), 2000), "");
    EXPECT_EQ(runner_.lines,
              std::vector<std::string>{"ip -4 addr replace 10.9.0.52/24 broadcast + dev eth0"});
    EXPECT_EQ(recorded().lease->obtained, 2000);

    ASSERT_EQ(apply(event(DhcpEvent::Kind::Renew, "10.9.0.52", "10.9.0.2")), "");
    EXPECT_EQ(runner_.lines.back(), "ip -4 route append default via 10.9.0.2 dev eth0");

    ASSERT_EQ(apply(event(DhcpEvent::Kind::Renew, "10.9.0.57", "")), "");
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 addr add 10.9.0.57/24 broadcast + dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                             }));
    EXPECT_EQ(dns_.applied, 0) << "hand-set DNS servers stay";
    EXPECT_EQ(recorded().dnsServers, std::vector<std::string>{"1.1.1.1"});
}

TEST_F(DhcpHookApply, DeconfigClearsTheLease) {
    InterfaceState state;
    state.dhcp = true;
    record(state);
    ASSERT_EQ(apply(event(DhcpEvent::Kind::Bound)), "");
    ASSERT_EQ(apply(event(DhcpEvent::Kind::Deconfig)), "");
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip link set dev eth0 up",
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                             }));
    EXPECT_FALSE(recorded().lease);
    EXPECT_EQ(recorded().dhcp, true);

    // The client's first event, with no lease to clear, leaves the record as it is: not
    // even rewritten (the same file, so no flush to disk and no wake for a waiting run).
    struct stat before {};
    ASSERT_EQ(::stat(folder_.file("eth0.state").c_str(), &before), 0);
    ASSERT_EQ(apply(event(DhcpEvent::Kind::Deconfig)), "");
    struct stat after {};
    ASSERT_EQ(::stat(folder_.file("eth0.state").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(DhcpHookApply, TheLeaseServersJoinThoseOfOtherInterfaces) {
    InterfaceState other;
    other.dnsAuto = false;
    other.dnsServers = {"192.0.2.1"};
    ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(folder_.path(), "eth1", other)));
    InterfaceState state;
    state.dhcp = true;
    state.dnsAuto = true;
    record(state);

    ASSERT_EQ(apply(event(DhcpEvent::Kind::Bound)), "");
    EXPECT_EQ(dns_.lastAll, (AdapterDnsServers{{"eth0", {"10.9.0.53"}}, {"eth1", {"192.0.2.1"}}}));

    // A renewal with the same servers leaves the resolver alone; losing the lease takes
    // only this interface's servers away.
    ASSERT_EQ(apply(event(DhcpEvent::Kind::Renew)), "");
    EXPECT_EQ(dns_.applied, 1);
    ASSERT_EQ(apply(event(DhcpEvent::Kind::Deconfig)), "");
    EXPECT_EQ(dns_.lastAll, (AdapterDnsServers{{"eth1", {"192.0.2.1"}}}));
}

TEST_F(DhcpHookApply, AnInterfaceWithAFixedAddressIsLeftAlone) {
    InterfaceState state;
    state.dhcp = false;
    record(state);
    EXPECT_EQ(apply(event(DhcpEvent::Kind::Bound)), "");
    EXPECT_EQ(apply(event(DhcpEvent::Kind::Deconfig)), "");
    EXPECT_TRUE(runner_.lines.empty());
    EXPECT_FALSE(recorded().lease);
    EXPECT_EQ(apply(event(DhcpEvent::Kind::Bound)), "");
    EXPECT_TRUE(runner_.lines.empty()) << "nor one never recorded";
}

}  // namespace
}  // namespace quorrel::netsh
