// Which DNS servers and lease an adapter of the report gets from what the platform knows.

#include "ipconfig/PlatformFacts.h"

#include <gtest/gtest.h>

namespace quorrel::ipconfig {
namespace {

using platform::AdapterTableEntry;
using platform::DhcpLease;
using platform::InterfaceState;
using Servers = std::vector<std::string>;

AdapterTableEntry entry(std::uint32_t dhcp) {
    AdapterTableEntry e;
    e.adapterId = "lan0";
    e.address = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    e.dhcpEnabled = dhcp;
    e.ipAddress = "10.1.0.5";
    e.subnetMask = "255.255.0.0";
    e.gateway = "10.1.0.1";
    return e;
}

InterfaceState dhcpState(Servers leaseDns) {
    InterfaceState s;
    s.dhcp = true;
    s.dnsAuto = true;
    DhcpLease lease;
    lease.server = "10.1.0.1";
    lease.obtained = 1000;
    lease.expires = 4600;
    lease.dnsServers = std::move(leaseDns);
    s.lease = lease;
    return s;
}

TEST(PlatformFacts, CopiesTheTableEntry) {
    InterfaceExtras extras;
    extras.kind = AdapterKind::Other;
    extras.description = "veth";
    extras.mediaConnected = false;
    const AdapterFacts f = adapterFactsFrom(entry(0), extras);
    EXPECT_EQ(f.connectionName, "lan0");
    EXPECT_EQ(f.hardwareAddress, (std::vector<std::uint8_t>{0x02, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(f.ipAddress, "10.1.0.5");
    EXPECT_EQ(f.subnetMask, "255.255.0.0");
    EXPECT_EQ(f.gateway, "10.1.0.1");
    EXPECT_EQ(f.kind, AdapterKind::Other);
    EXPECT_EQ(f.description, "veth");
    EXPECT_FALSE(f.mediaConnected);
    EXPECT_FALSE(f.dhcpEnabled);
    // Only the value 1 means DHCP.
    EXPECT_FALSE(adapterFactsFrom(entry(2), extras).dhcpEnabled);
    EXPECT_TRUE(adapterFactsFrom(entry(1), extras).dhcpEnabled);
}

TEST(PlatformFacts, HandSetDnsServersComeBeforeEverythingElse) {
    InterfaceExtras extras;
    extras.state = dhcpState({"10.1.0.53"});
    extras.nameServerValue = "10.9.0.1,10.9.0.2,10.9.0.3";
    extras.resolverServers = {"10.8.0.1"};
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers,
              (Servers{"10.9.0.1", "10.9.0.2", "10.9.0.3"}));
    EXPECT_EQ(adapterFactsFrom(entry(0), extras).dnsServers,
              (Servers{"10.9.0.1", "10.9.0.2", "10.9.0.3"}));
}

TEST(PlatformFacts, DhcpAdapterTakesItsLeaseAndTheLeaseDnsServers) {
    InterfaceExtras extras;
    extras.state = dhcpState({"10.1.0.53", "10.1.0.54"});
    extras.resolverServers = {"10.8.0.1"};
    const AdapterFacts f = adapterFactsFrom(entry(1), extras);
    EXPECT_EQ(f.dnsServers, (Servers{"10.1.0.53", "10.1.0.54"}));
    ASSERT_TRUE(f.lease);
    EXPECT_EQ(f.lease->server, "10.1.0.1");
    EXPECT_EQ(f.lease->obtained, 1000);
    EXPECT_EQ(f.lease->expires, 4600);
}

TEST(PlatformFacts, AutomaticDnsWithoutLeaseServersShowsNone) {
    InterfaceExtras extras;
    extras.state = dhcpState({});
    extras.resolverServers = {"10.8.0.1"};
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers, Servers{});
}

TEST(PlatformFacts, DhcpAdapterNetshNeverSetUsesTheResolverServers) {
    InterfaceExtras extras;
    extras.resolverServers = {"10.8.0.1", "10.8.0.2"};
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers, (Servers{"10.8.0.1", "10.8.0.2"}));
    EXPECT_FALSE(adapterFactsFrom(entry(1), extras).lease);
    // With a fixed address the interface key already holds everything there is.
    EXPECT_EQ(adapterFactsFrom(entry(0), extras).dnsServers, Servers{});
}

TEST(PlatformFacts, LeaseOfAnAdapterNoLongerOnDhcpIsDropped) {
    InterfaceExtras extras;
    extras.state = dhcpState({"10.1.0.53"});
    const AdapterFacts f = adapterFactsFrom(entry(0), extras);
    EXPECT_FALSE(f.lease);
    EXPECT_EQ(f.dnsServers, Servers{});
}

TEST(PlatformFacts, NameServerValueSplitsAtEveryComma) {
    EXPECT_EQ(splitNameServers("10.0.0.1,10.0.0.2,10.0.0.3"),
              (Servers{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(splitNameServers("10.0.0.1"), Servers{"10.0.0.1"});
    EXPECT_EQ(splitNameServers(""), Servers{});
    EXPECT_EQ(splitNameServers(",10.0.0.1,,"), Servers{"10.0.0.1"});
}

}  // namespace
}  // namespace quorrel::ipconfig
