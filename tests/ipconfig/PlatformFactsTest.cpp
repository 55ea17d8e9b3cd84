// Which DNS servers and lease an adapter of the report gets from what the platform knows.

#include "ipconfig/PlatformFacts.h"

#include <gtest/gtest.h>

namespace quorrel::ipconfig {
namespace {

using platform::AdapterTableEntry;
using platform::InterfaceState;
using Servers = std::vector<std::string>;

AdapterTableEntry entry(std::uint32_t dhcp) {
    AdapterTableEntry e;
    e.adapterId = "lan0";
    e.dhcpEnabled = dhcp;
    return e;
}

InterfaceState dhcpState(Servers leaseDns) {
    InterfaceState s;
    s.dhcp = true;
    s.dnsAuto = true;
    s.lease.emplace();
    s.lease->server = "10.1.0.1";
    s.lease->obtained = 1000;
    s.lease->expires = 4600;
    s.lease->dnsServers = std::move(leaseDns);
    return s;
}

TEST(PlatformFacts, DnsServersByPrecedence) {
    InterfaceExtras extras;
    extras.state = dhcpState({"10.1.0.53", "10.1.0.54"});
    extras.resolverServers = {"10.8.0.1"};
    // A DHCP adapter: the servers of its lease.
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers, (Servers{"10.1.0.53", "10.1.0.54"}));
    // Hand-set servers win, DHCP or not.
    extras.nameServerValue = "10.9.0.1,10.9.0.2,10.9.0.3";
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers,
              (Servers{"10.9.0.1", "10.9.0.2", "10.9.0.3"}));
    EXPECT_EQ(adapterFactsFrom(entry(0), extras).dnsServers.size(), 3u);
    // Automatic DNS whose lease brought none: none, not the resolver's.
    extras.nameServerValue.clear();
    extras.state = dhcpState({});
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers, Servers{});
    // DNS never set by netsh: the resolver's, which the system's DHCP client keeps.
    extras.state.reset();
    EXPECT_EQ(adapterFactsFrom(entry(1), extras).dnsServers, Servers{"10.8.0.1"});
    // With a fixed address the interface key already holds everything there is.
    EXPECT_EQ(adapterFactsFrom(entry(0), extras).dnsServers, Servers{});
}

TEST(PlatformFacts, LeaseOnlyForAnAdapterOnDhcp) {
    InterfaceExtras extras;
    extras.state = dhcpState({"10.1.0.53"});
    const AdapterFacts dhcp = adapterFactsFrom(entry(1), extras);
    ASSERT_TRUE(dhcp.lease);
    EXPECT_EQ(dhcp.lease->server, "10.1.0.1");
    EXPECT_EQ(dhcp.lease->obtained, 1000);
    EXPECT_EQ(dhcp.lease->expires, 4600);
    // Only the value 1 means DHCP; a lease left from before does not show.
    for (const std::uint32_t notDhcp : {0u, 2u}) {
        const AdapterFacts fixed = adapterFactsFrom(entry(notDhcp), extras);
        EXPECT_FALSE(fixed.dhcpEnabled);
        EXPECT_FALSE(fixed.lease);
        EXPECT_EQ(fixed.dnsServers, Servers{});
    }
}

TEST(PlatformFacts, NameServerValueSplitsAtEveryComma) {
    EXPECT_EQ(splitNameServers("10.0.0.1,10.0.0.2,10.0.0.3"),
              (Servers{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(splitNameServers(""), Servers{});
    EXPECT_EQ(splitNameServers(",10.0.0.1,,"), Servers{"10.0.0.1"});
}

}  // namespace
}  // namespace quorrel::ipconfig
