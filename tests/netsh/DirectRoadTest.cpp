#include "netsh/DirectRoad.h"

#include <gtest/gtest.h>

#include "platform/linux/NetworkState.h"
#include "tests/netsh/NetshFakes.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel::netsh {
namespace {

using platform::InterfaceState;

// What `ip` reports for eth0 before a change: one address and one default route.
constexpr const char* kFoundAddress =
    "3: eth0    inet 10.50.0.9/16 brd 10.50.255.255 scope global eth0\\       valid_lft "
    "forever preferred_lft forever\n";
constexpr const char* kFoundRoute = "default via 10.50.0.1 metric 7 \n";

class DirectRoadTest : public ::testing::Test {
protected:
    std::string apply(const NetshCommand& command) {
        DirectRoad road(
            runner_, dhcp_, states_, [this] { return rights_; },
            [this](const std::string& ifname, const std::string& address, std::string& note) {
                addressChecks_.push_back(ifname + " " + address);
                note = addressNote_;
                return addressInUse_;
            });
        const std::string error = road.carryOut(command).error();
        notes_ = road.notes();
        return error;
    }

    std::optional<InterfaceState> recorded() {
        return platform::readInterfaceState(folder_.path(), "eth0");
    }

    void record(const InterfaceState& state) {
        ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(folder_.path(), "eth0", state)));
    }

    bool journalLeft() {
        ChangeJournal journal;
        return readChangeJournal(folder_.path(), "eth0", journal) != JournalRead::None;
    }

    // The kernel as the fake shows it: the found address and route until they are flushed.
    void showFoundUntilFlushed() {
        runner_.show = [this](const std::string& line) -> std::string {
            if (line.find("addr show") != std::string::npos) {
                return runner_.ran("ip -4 addr flush") ? "" : kFoundAddress;
            }
            return runner_.ran("ip -4 route flush") ? "" : kFoundRoute;
        };
    }

    static NetshCommand fixed(std::string gateway = "", std::optional<int> metric = {}) {
        NetshCommand c;
        c.interfaceName = "eth0";
        c.address = "10.0.0.5";
        c.mask = "255.255.255.0";
        c.gateway = std::move(gateway);
        c.gatewayMetric = std::move(metric);
        return c;
    }

    static NetshCommand dhcpAddress() {
        NetshCommand c;
        c.interfaceName = "eth0";
        c.dhcp = true;
        return c;
    }

    static NetshCommand dns(NetshAction action, std::string server, bool dhcp = false,
                            std::optional<int> index = {}) {
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
    fakes::FakeInterfaces interfaces_{{"eth0", "eth1"}};
    StateKeeper states_{folder_.path(), dns_, interfaces_};
    bool rights_ = true;
    std::vector<std::string> notes_;
    // The link's answer to the address check, and what was asked of it.
    std::string addressInUse_;
    std::string addressNote_;
    std::vector<std::string> addressChecks_;
};

TEST_F(DirectRoadTest, FixedAddressReplacesAddressesAndDefaultRoutes) {
    InterfaceState before = leased();
    before.dnsAuto = false;
    before.dnsServers = {"1.1.1.1"};
    record(before);
    dhcp_.runningFor = {"eth0"};

    ASSERT_EQ(apply(fixed("10.0.0.1", 1)), "");
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
    EXPECT_FALSE(journalLeft());
}

TEST_F(DirectRoadTest, FixedAddressWithoutGatewayOrMetric) {
    ASSERT_EQ(apply(fixed()), "");
    EXPECT_EQ(runner_.lines.size(), 4u);
    EXPECT_EQ(runner_.lines.back(), "ip -4 route flush exact 0.0.0.0/0 dev eth0");

    runner_.lines.clear();
    ASSERT_EQ(apply(fixed("10.0.0.1")), "");
    EXPECT_EQ(runner_.lines.back(), "ip -4 route append default via 10.0.0.1 dev eth0");
}

TEST_F(DirectRoadTest, LeavingAutomaticDnsLeaseTakesItsServersFromTheResolver) {
    record(leased());
    ASSERT_EQ(apply(fixed()), "");
    EXPECT_EQ(dns_.applied, 1);
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{});
}

// Nothing may change before everything that can be checked has been.
TEST_F(DirectRoadTest, ARefusalBeforeTheStartChangesNothing) {
    InterfaceState fixedState;
    fixedState.dhcp = false;
    fixedState.dnsAuto = false;
    fixedState.dnsServers = {"192.0.2.53"};
    record(fixedState);
    dhcp_.runningFor = {"eth1"};

    const struct {
        const char* what;
        NetshCommand command;
        bool rights;
        std::string missingClient;
        std::string inUse;
        std::string expected;
    } cases[] = {
        {"no rights", fixed(), false, "", "", "must run as administrator"},
        {"no DHCP client", dhcpAddress(), true, "no DHCP client is installed (udhcpc or dhclient)",
         "", "no DHCP client is installed (udhcpc or dhclient); nothing was changed"},
        {"DNS from DHCP on a fixed address", dns(NetshAction::SetDns, "", true), true, "", "",
         "the address of eth0 is fixed, so its DNS servers cannot come from DHCP"},
        {"address in use on the link", fixed("10.0.0.1", 1), true, "",
         "10.0.0.5 is already in use; nothing was changed",
         "10.0.0.5 is already in use; nothing was changed"},
    };
    for (const auto& c : cases) {
        rights_ = c.rights;
        dhcp_.missing = c.missingClient;
        addressInUse_ = c.inUse;
        const std::string error = apply(c.command);
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(runner_.lines.empty()) << c.what;
        EXPECT_TRUE(dhcp_.calls.empty()) << c.what;
        EXPECT_EQ(dns_.applied, 0) << c.what;
        EXPECT_EQ(recorded(), fixedState) << c.what;
        EXPECT_FALSE(journalLeft()) << c.what;
    }
}

TEST_F(DirectRoadTest, OnlyAFixedAddressIsCheckedOnTheLink) {
    ASSERT_EQ(apply(dhcpAddress()), "");
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "10.0.0.53")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "10.0.0.54", false, 2)), "");
    EXPECT_TRUE(addressChecks_.empty());
    ASSERT_EQ(apply(fixed("10.0.0.1", 1)), "");
    EXPECT_EQ(addressChecks_, std::vector<std::string>{"eth0 10.0.0.5"});

    // An address taken unchecked is applied, and the user is told.
    addressNote_ = "did not check whether 10.0.0.5 is already in use";
    ASSERT_EQ(apply(fixed("10.0.0.1", 1)), "");
    EXPECT_EQ(notes_, std::vector<std::string>{addressNote_});
    EXPECT_FALSE(runner_.lines.empty());
}

TEST_F(DirectRoadTest, AFailingStepPutsBackWhatTheInterfaceHadAndSaysSo) {
    InterfaceState before;
    before.dhcp = false;
    before.dnsAuto = false;
    before.dnsServers = {"192.0.2.53"};
    record(before);
    showFoundUntilFlushed();
    runner_.failOn = "route append default via 10.0.0.1";

    const std::string error = apply(fixed("10.0.0.1", 1));
    EXPECT_EQ(error,
              "cannot set the default gateway 10.0.0.1 on eth0: RTNETLINK answers: Operation not "
              "permitted; the previous settings of eth0 were put back (10.50.0.9/16, default "
              "route via 10.50.0.1 metric 7)");
    const std::vector<std::string> putBack(runner_.lines.begin() + 5, runner_.lines.end());
    EXPECT_EQ(putBack, (std::vector<std::string>{
                           "ip link set dev eth0 up",
                           "ip -4 addr flush dev eth0",
                           "ip -4 addr add 10.50.0.9/16 broadcast 10.50.255.255 dev eth0",
                           "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                           "ip -4 route append default via 10.50.0.1 dev eth0 metric 7",
                       }));
    EXPECT_EQ(recorded(), before);
    EXPECT_FALSE(journalLeft());
}

TEST_F(DirectRoadTest, AFailureOnANeverRecordedInterfaceLeavesNoRecord) {
    runner_.failOn = "addr add";
    const std::string error = apply(fixed("10.0.0.1", 1));
    EXPECT_NE(error.find("Operation not permitted"), std::string::npos) << error;
    EXPECT_NE(error.find("were put back (no address)"), std::string::npos) << error;
    EXPECT_FALSE(recorded());
}

TEST_F(DirectRoadTest, DhcpClearsTheInterfaceAndRecordsBeforeTheClientStarts) {
    InterfaceState before;
    before.dhcp = false;
    before.dnsServers = {"1.1.1.1"};
    before.dnsAuto = false;
    record(before);

    ASSERT_EQ(apply(dhcpAddress()), "");
    EXPECT_EQ(dhcp_.calls, (std::vector<std::string>{"stop eth0", "start eth0"}));
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip link set dev eth0 up",
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                             }));
    EXPECT_EQ(recorded()->dhcp, true);
    EXPECT_EQ(recorded()->dnsServers, std::vector<std::string>{"1.1.1.1"});

    // No lease in time: DHCP stays on, the client keeps trying, and the run says so.
    dhcp_.result = {failure("no DHCP lease for eth0 within 10 s"), true};
    EXPECT_EQ(apply(dhcpAddress()), "no DHCP lease for eth0 within 10 s");
    EXPECT_EQ(recorded()->dhcp, true);
    EXPECT_FALSE(journalLeft());
}

TEST_F(DirectRoadTest, AClientThatCannotGetGoingIsUndone) {
    InterfaceState before;
    before.dhcp = false;
    record(before);
    showFoundUntilFlushed();
    dhcp_.result = {failure("the DHCP client for eth0 ended without a lease: bad interface"),
                    false};

    const std::string error = apply(dhcpAddress());
    EXPECT_NE(error.find("ended without a lease"), std::string::npos) << error;
    EXPECT_NE(error.find("were put back (10.50.0.9/16"), std::string::npos) << error;
    EXPECT_EQ(recorded(), before);
    EXPECT_TRUE(runner_.ran("ip -4 addr add 10.50.0.9/16 broadcast 10.50.255.255 dev eth0"));
}

TEST_F(DirectRoadTest, TheNextRunPutsBackAChangeThatWasCutShort) {
    ChangeJournal journal;
    journal.change = "set address static 10.0.0.5/24 gateway 10.0.0.1";
    journal.found.addresses = {{"10.50.0.9", 16, "10.50.255.255"}};
    journal.found.defaultRoutes = {{"10.50.0.1", 7, false}};
    journal.dhcpClientRan = true;
    journal.state = leased();
    ASSERT_TRUE(test::succeeded(writeChangeJournal(folder_.path(), "eth0", journal)));
    InterfaceState halfway;  // what the killed run had recorded
    halfway.dhcp = false;
    record(halfway);

    ASSERT_EQ(apply(dns(NetshAction::AddDns, "8.8.8.8")), "");
    ASSERT_EQ(notes_.size(), 1u);
    EXPECT_EQ(notes_[0],
              "an earlier run on eth0 ended before it had finished \"set address static "
              "10.0.0.5/24 gateway 10.0.0.1\"; the settings it found were put back (10.50.0.9/16, "
              "default route via 10.50.0.1 metric 7)");
    EXPECT_EQ(runner_.lines, (std::vector<std::string>{
                                 "ip link set dev eth0 up",
                                 "ip -4 addr flush dev eth0",
                                 "ip -4 addr add 10.50.0.9/16 broadcast 10.50.255.255 dev eth0",
                                 "ip -4 route flush exact 0.0.0.0/0 dev eth0",
                                 "ip -4 route append default via 10.50.0.1 dev eth0 metric 7",
                             }));
    EXPECT_EQ(dhcp_.calls, std::vector<std::string>{"start-in-background eth0"});
    EXPECT_EQ(recorded()->dhcp, true);
    EXPECT_EQ(recorded()->lease, leased().lease);
    EXPECT_EQ(recorded()->dnsServers, std::vector<std::string>{"8.8.8.8"}) << "then the command";
    EXPECT_FALSE(journalLeft());

    // A record that cannot be read is removed with a note, and the command goes on.
    test::writeFileBytes(platform::journalPath(folder_.path(), "eth0"), "address=10.0.0.300/8\n");
    EXPECT_EQ(apply(dns(NetshAction::SetDns, "9.9.9.9")), "");
    ASSERT_EQ(notes_.size(), 1u);
    EXPECT_NE(notes_[0].find("cannot be read"), std::string::npos) << notes_[0];
    EXPECT_FALSE(journalLeft());
}

TEST_F(DirectRoadTest, SetDnsStaticAndBackToTheLease) {
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

TEST_F(DirectRoadTest, AutomaticDnsWithoutALeaseHasNoServers) {
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "", true)), "");
    EXPECT_EQ(dns_.applied, 1);
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{});
    EXPECT_EQ(recorded()->dnsAuto, true);
}

TEST_F(DirectRoadTest, EachInterfaceKeepsItsOwnServers) {
    InterfaceState other;
    other.dnsAuto = false;
    other.dnsServers = {"192.0.2.1"};
    ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(folder_.path(), "eth1", other)));
    ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(folder_.path(), "gone0", other)));

    ASSERT_EQ(apply(dns(NetshAction::SetDns, "10.0.0.53")), "");
    EXPECT_EQ(dns_.lastAll, (AdapterDnsServers{{"eth0", {"10.0.0.53"}}, {"eth1", {"192.0.2.1"}}}))
        << "an interface that is gone has no say";
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "")), "");
    EXPECT_EQ(dns_.lastAll, (AdapterDnsServers{{"eth1", {"192.0.2.1"}}}));
}

TEST_F(DirectRoadTest, AddDnsPutsTheServerAtTheIndexAndNeverTwice) {
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "1.1.1.1")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "2.2.2.2")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "3.3.3.3", false, 2)), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "4.4.4.4", false, 99)), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "5.5.5.5", false, 1)), "");
    const std::vector<std::string> expected = {"5.5.5.5", "1.1.1.1", "3.3.3.3", "2.2.2.2",
                                               "4.4.4.4"};
    EXPECT_EQ(dns_.lastServers, expected);
    EXPECT_EQ(recorded()->dnsServers, expected);

    const struct {
        const char* server;
        std::optional<int> index;
        std::vector<std::string> after;
    } cases[] = {
        // Already at that place: a success that changes nothing.
        {"3.3.3.3", 3, expected},
        {"4.4.4.4", std::nullopt, expected},
        {"4.4.4.4", 7, expected},
        // Elsewhere: it moves.
        {"2.2.2.2", 1, {"2.2.2.2", "5.5.5.5", "1.1.1.1", "3.3.3.3", "4.4.4.4"}},
        {"2.2.2.2", std::nullopt, {"5.5.5.5", "1.1.1.1", "3.3.3.3", "4.4.4.4", "2.2.2.2"}},
    };
    for (const auto& c : cases) {
        InterfaceState state;
        state.dnsAuto = false;
        state.dnsServers = expected;
        record(state);
        EXPECT_EQ(apply(dns(NetshAction::AddDns, c.server, false, c.index)), "") << c.server;
        EXPECT_EQ(recorded()->dnsServers, c.after) << c.server;
        EXPECT_EQ(dns_.lastServers, c.after) << c.server;
    }
}

TEST_F(DirectRoadTest, ASecondServerEqualToTheFirstIsASuccess) {
    ASSERT_EQ(apply(dns(NetshAction::SetDns, "168.126.63.1")), "");
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "168.126.63.1", false, 2)), "");
    EXPECT_EQ(recorded()->dnsServers, std::vector<std::string>{"168.126.63.1"});
}

TEST_F(DirectRoadTest, AddDnsToAutomaticDnsStartsAHandSetList) {
    record(leased());
    ASSERT_EQ(apply(dns(NetshAction::AddDns, "8.8.8.8", false, 2)), "");
    EXPECT_EQ(dns_.lastServers, std::vector<std::string>{"8.8.8.8"});
    EXPECT_EQ(recorded()->dnsAuto, false);
}

TEST_F(DirectRoadTest, AResolverFailureRecordsNothing) {
    record(leased());
    dns_.error = "cannot write /etc/resolv.conf: Read-only file system";
    EXPECT_EQ(apply(dns(NetshAction::SetDns, "1.1.1.1")), dns_.error);
    EXPECT_EQ(recorded(), leased());
}

}  // namespace
}  // namespace quorrel::netsh
