#include "netsh/NetworkManagerRoad.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace quorrel::netsh {
namespace {

using platform::NmAddress;
using platform::NmDevice;
using platform::NmIpv4Settings;
using platform::NmIpv4State;

NetshCommand staticAddress(const std::string& address, const std::string& gateway = "") {
    NetshCommand c;
    c.interfaceName = "eth0";
    c.address = address;
    c.mask = "255.255.255.0";
    c.gateway = gateway;
    if (!gateway.empty()) {
        c.gatewayMetric = 1;
    }
    return c;
}
NetshCommand dhcpAddress() {
    NetshCommand c;
    c.interfaceName = "eth0";
    c.dhcp = true;
    return c;
}
NetshCommand dns(NetshAction action, const std::string& server, bool dhcp = false,
                 std::optional<int> index = std::nullopt) {
    NetshCommand c;
    c.action = action;
    c.interfaceName = "eth0";
    c.address = server;
    c.dhcp = dhcp;
    c.index = std::move(index);
    return c;
}

NmIpv4Settings manual(std::vector<std::string> dnsServers = {}, bool ignoreAuto = true) {
    NmIpv4Settings s;
    s.method = "manual";
    s.addresses = {{"10.0.0.5", 24}};
    s.gateway = "10.0.0.1";
    s.dns = std::move(dnsServers);
    s.ignoreAutoDns = ignoreAuto;
    return s;
}

TEST(NetworkManagerSettingsTest, EachCommandChangesOnlyItsPartOfTheConnection) {
    NmIpv4Settings automatic;
    automatic.dns = {"9.9.9.9"};
    automatic.routeMetric = 50;
    const struct {
        const char* what;
        NetshCommand command;
        NmIpv4Settings before;
        std::string expectedMethod;
        std::vector<NmAddress> expectedAddresses;
        std::string expectedGateway;
        std::int64_t expectedMetric;
        std::vector<std::string> expectedDns;
        bool expectedIgnoreAuto;
    } cases[] = {
        {"fixed address with gateway",
         staticAddress("10.1.2.3", "10.1.2.1"),
         automatic,
         "manual",
         {{"10.1.2.3", 24}},
         "10.1.2.1",
         1,
         {"9.9.9.9"},
         false},
        {"fixed address without gateway",
         staticAddress("10.1.2.3"),
         manual(),
         "manual",
         {{"10.1.2.3", 24}},
         "",
         -1,
         {},
         true},
        {"DHCP drops the fixed parts",
         dhcpAddress(),
         manual({"1.1.1.1"}),
         "auto",
         {},
         "",
         -1,
         {"1.1.1.1"},
         true},
        {"set dns static replaces the list",
         dns(NetshAction::SetDns, "8.8.8.8"),
         manual({"1.1.1.1", "2.2.2.2"}),
         "manual",
         {{"10.0.0.5", 24}},
         "10.0.0.1",
         -1,
         {"8.8.8.8"},
         true},
        {"set dns none empties the list",
         dns(NetshAction::SetDns, ""),
         manual({"1.1.1.1"}),
         "manual",
         {{"10.0.0.5", 24}},
         "10.0.0.1",
         -1,
         {},
         true},
        {"set dns dhcp under DHCP",
         dns(NetshAction::SetDns, "", true),
         automatic,
         "auto",
         {},
         "",
         50,
         {},
         false},
        {"add dns at index 2",
         dns(NetshAction::AddDns, "8.8.4.4", false, 2),
         manual({"1.1.1.1", "2.2.2.2"}),
         "manual",
         {{"10.0.0.5", 24}},
         "10.0.0.1",
         -1,
         {"1.1.1.1", "8.8.4.4", "2.2.2.2"},
         true},
        {"add dns never twice",
         dns(NetshAction::AddDns, "2.2.2.2", false, 1),
         manual({"1.1.1.1", "2.2.2.2"}),
         "manual",
         {{"10.0.0.5", 24}},
         "10.0.0.1",
         -1,
         {"2.2.2.2", "1.1.1.1"},
         true},
        {"add dns on automatic DNS starts a hand-set list",
         dns(NetshAction::AddDns, "8.8.4.4", false, 2),
         automatic,
         "auto",
         {},
         "",
         50,
         {"8.8.4.4"},
         true},
    };
    for (const auto& c : cases) {
        const Expected<NmIpv4Settings> result = settingsAfter(c.command, c.before);
        ASSERT_TRUE(result) << c.what << ": " << result.error();
        const NmIpv4Settings& after = *result;
        EXPECT_EQ(after.method, c.expectedMethod) << c.what;
        EXPECT_EQ(after.addresses, c.expectedAddresses) << c.what;
        EXPECT_EQ(after.gateway, c.expectedGateway) << c.what;
        EXPECT_EQ(after.routeMetric, c.expectedMetric) << c.what;
        EXPECT_EQ(after.dns, c.expectedDns) << c.what;
        EXPECT_EQ(after.ignoreAutoDns, c.expectedIgnoreAuto) << c.what;
    }
}

TEST(NetworkManagerSettingsTest, DnsFromDhcpIsRefusedWhileTheAddressIsFixed) {
    const auto result = settingsAfter(dns(NetshAction::SetDns, "", true), manual());
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().find("is fixed"), std::string::npos) << result.error();
}

TEST(NetworkManagerSettingsTest, TheDeviceCountsAsAppliedOnlyWithWhatWasAsked) {
    NmIpv4State fixed;
    fixed.state = platform::kNmDeviceActivated;
    fixed.addresses = {{"10.0.0.5", 24}};
    fixed.gateway = "10.0.0.1";
    fixed.nameservers = {"1.1.1.1"};
    NmIpv4State activating = fixed;
    activating.state = 70;
    NmIpv4State leased;
    leased.state = platform::kNmDeviceActivated;
    leased.dhcp = true;
    leased.leaseAddress = "10.0.0.77";
    leased.addresses = {{"10.0.0.77", 24}};
    leased.leaseNameservers = {"10.0.0.53"};
    leased.nameservers = {"10.0.0.53"};
    NmIpv4State noLease = leased;
    noLease.leaseAddress.clear();
    NmIpv4State oldAddress = fixed;
    oldAddress.addresses = {{"10.0.0.4", 24}};

    NmIpv4Settings automatic;
    NmIpv4Settings handSetOnDhcp;
    handSetOnDhcp.dns = {"1.1.1.1"};
    handSetOnDhcp.ignoreAutoDns = true;
    const struct {
        const char* what;
        NetshCommand command;
        NmIpv4Settings wanted;
        NmIpv4State state;
        bool applied;
    } cases[] = {
        {"fixed, in place", staticAddress("10.0.0.5", "10.0.0.1"), manual(), fixed, true},
        {"fixed, still activating", staticAddress("10.0.0.5", "10.0.0.1"), manual(), activating,
         false},
        {"fixed, the old address", staticAddress("10.0.0.5", "10.0.0.1"), manual(), oldAddress,
         false},
        {"fixed asked, lease seen", staticAddress("10.0.0.5", "10.0.0.1"), manual(), leased, false},
        {"DHCP with a lease", dhcpAddress(), automatic, leased, true},
        {"DHCP before the lease", dhcpAddress(), automatic, noLease, false},
        {"hand-set DNS in place", dns(NetshAction::SetDns, "1.1.1.1"), manual({"1.1.1.1"}), fixed,
         true},
        {"hand-set DNS not yet", dns(NetshAction::SetDns, "2.2.2.2"), manual({"2.2.2.2"}), fixed,
         false},
        {"automatic DNS from the lease", dns(NetshAction::SetDns, "", true), automatic, leased,
         true},
        {"hand-set DNS on DHCP leaves the lease's out", dns(NetshAction::SetDns, "1.1.1.1"),
         handSetOnDhcp, leased, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(deviceHasApplied(c.command, c.wanted, c.state), c.applied) << c.what;
    }
}

// NetworkManager as the road sees it: stored connections, what the device shows, and what
// each call answers.
class FakeNetworkManager final : public platform::NetworkManager {
public:
    std::map<std::string, NmIpv4Settings> connections;
    std::deque<NmIpv4State> states;  // one per question; the last one stays
    std::string refuseUpdate, refuseApply;
    std::vector<std::string> calls;

    Expected<std::optional<NmDevice>> device(const std::string&) override {
        return std::optional<NmDevice>{};
    }
    Expected<NmIpv4Settings> appliedIpv4(const std::string&) override {
        return failure("no active connection");
    }
    Expected<NmIpv4Settings> connectionIpv4(const std::string& path) override {
        const auto found = connections.find(path);
        if (found == connections.end()) {
            return failure("no such connection");
        }
        return found->second;
    }
    std::string findConnection(const std::string&) override { return ""; }
    Done updateIpv4(const std::string& path, const NmIpv4Settings& settings) override {
        calls.push_back("update " + path);
        if (!refuseUpdate.empty()) {
            return failure(refuseUpdate);
        }
        connections[path] = settings;
        return {};
    }
    Expected<std::string> addConnection(const platform::NmNewConnection& c) override {
        calls.push_back("add " + c.name + " " + c.interfaceName);
        connections["/new"] = c.ipv4;
        return std::string("/new");
    }
    Done removeConnection(const std::string& path) override {
        calls.push_back("remove " + path);
        connections.erase(path);
        return {};
    }
    Done reapply(const std::string& device) override {
        calls.push_back("reapply " + device);
        return doneUnless(refuseApply);
    }
    Done activate(const std::string& connection, const std::string& device) override {
        calls.push_back("activate " + connection + " " + device);
        return doneUnless(refuseApply);
    }
    Expected<NmIpv4State> ipv4State(const std::string&) override {
        NmIpv4State state = states.front();
        if (states.size() > 1) {
            states.pop_front();
        }
        return state;
    }
};

class NetworkManagerRoadTest : public ::testing::Test {
protected:
    NetworkManagerRoadTest() {
        device.path = "/dev/1";
        device.state = platform::kNmDeviceActivated;
        device.managed = true;
        device.type = platform::kNmDeviceEthernet;
        device.connection = "/con/1";
        device.connectionName = "Wired";
        nm.connections["/con/1"] = manual();
        applied.state = platform::kNmDeviceActivated;
        applied.addresses = {{"10.0.0.9", 24}};
        applied.gateway = "10.0.0.1";
    }

    std::string carryOut(const NetshCommand& command) {
        NetworkManagerRoad::Timing timing;
        timing.applyWait = std::chrono::milliseconds(1000);
        timing.now = [this] { return now; };
        timing.pause = [this](std::chrono::milliseconds step) { now += step; };
        NetworkManagerRoad road(nm, device, timing);
        return road.carryOut(command).error();
    }

    FakeNetworkManager nm;
    NmDevice device;
    NmIpv4State applied;
    NetworkManagerRoad::Clock::time_point now{};
};

TEST_F(NetworkManagerRoadTest, AFixedAddressIsReappliedAndWaitedFor) {
    NmIpv4State before = applied;
    before.addresses = {{"10.0.0.5", 24}};
    nm.states = {before, before, applied};
    EXPECT_EQ(carryOut(staticAddress("10.0.0.9", "10.0.0.1")), "");
    EXPECT_EQ(nm.calls, (std::vector<std::string>{"update /con/1", "reapply /dev/1"}));
    EXPECT_EQ(nm.connections["/con/1"].addresses, (std::vector<NmAddress>{{"10.0.0.9", 24}}));
    EXPECT_EQ(now, NetworkManagerRoad::Clock::time_point{} + std::chrono::milliseconds(10));
}

TEST_F(NetworkManagerRoadTest, DhcpActivatesTheConnectionAgain) {
    NmIpv4State leased = applied;
    leased.dhcp = true;
    leased.leaseAddress = "10.0.0.9";
    nm.states = {leased};
    EXPECT_EQ(carryOut(dhcpAddress()), "");
    EXPECT_EQ(nm.calls, (std::vector<std::string>{"update /con/1", "activate /con/1 /dev/1"}));
}

TEST_F(NetworkManagerRoadTest, ADeviceWithoutConnectionGetsOneOfOurs) {
    device.connection.clear();
    device.connectionName.clear();
    device.state = platform::kNmDeviceDisconnected;
    nm.states = {applied};
    EXPECT_EQ(carryOut(staticAddress("10.0.0.9", "10.0.0.1")), "");
    EXPECT_EQ(nm.calls,
              (std::vector<std::string>{"add Quorrel eth0 eth0", "activate /new /dev/1"}));

    device.type = 2;  // wireless: a network must be chosen first
    nm.calls.clear();
    const std::string error = carryOut(staticAddress("10.0.0.9", "10.0.0.1"));
    EXPECT_NE(error.find("no connection active"), std::string::npos) << error;
    EXPECT_TRUE(nm.calls.empty());
}

TEST_F(NetworkManagerRoadTest, RefusalsSayNetworkManagersWordsAndPutTheSettingsBack) {
    nm.refuseUpdate = "Insufficient privileges";
    std::string error = carryOut(staticAddress("10.0.0.9", "10.0.0.1"));
    EXPECT_NE(error.find("Insufficient privileges; nothing was changed"), std::string::npos)
        << error;
    EXPECT_EQ(nm.connections["/con/1"], manual());

    nm.refuseUpdate.clear();
    nm.refuseApply = "Not authorized to control networking";
    nm.calls.clear();
    error = carryOut(staticAddress("10.0.0.9", "10.0.0.1"));
    EXPECT_NE(error.find("Not authorized to control networking; the connection's earlier "
                         "settings were put back"),
              std::string::npos)
        << error;
    EXPECT_EQ(nm.connections["/con/1"], manual());
    EXPECT_EQ(nm.calls,
              (std::vector<std::string>{"update /con/1", "reapply /dev/1", "update /con/1"}));
}

TEST_F(NetworkManagerRoadTest, ADeviceThatNeverShowsTheChangeFailsAtTheDeadline) {
    NmIpv4State stale = applied;
    stale.addresses = {{"10.0.0.5", 24}};
    nm.states = {stale};
    const std::string error = carryOut(staticAddress("10.0.0.9", "10.0.0.1"));
    EXPECT_NE(error.find("has not applied"), std::string::npos) << error;
    EXPECT_NE(error.find("10.0.0.5/24"), std::string::npos) << error;
    EXPECT_GE(now - NetworkManagerRoad::Clock::time_point{}, std::chrono::milliseconds(1000));

    NmIpv4State failed = stale;
    failed.state = platform::kNmDeviceFailed;
    nm.states = {failed};
    now = {};
    EXPECT_NE(carryOut(staticAddress("10.0.0.8", "10.0.0.1")).find("could not activate"),
              std::string::npos);
    EXPECT_EQ(now, NetworkManagerRoad::Clock::time_point{});
}

}  // namespace
}  // namespace quorrel::netsh
