// The built netsh program, run for real inside network namespaces that each test creates
// and removes (root only).

#include "platform/linux/NetshRights.h"
#include "tests/netsh/NetshNamespaceFixture.h"

namespace quorrel::netsh {
namespace {

TEST_F(NetshInNamespace, FixedAddressWithGatewayReplacesAddressAndDefaultRoute) {
    ns_->run({"ip", "addr", "add", "10.50.0.9/16", "dev", "lan0"});
    ns_->run({"ip", "route", "add", "default", "via", "10.50.0.1", "dev", "lan0", "metric", "7"});

    const CommandOutput out =
        netsh({"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.60.0.5",
               "mask=255.255.255.0", "gateway=10.60.0.1", "1"});
    ASSERT_EQ(out.exitCode, 0) << out.output;

    EXPECT_EQ(addresses(), "10.60.0.5/24");
    EXPECT_EQ(defaultRoutes(), "default via 10.60.0.1 dev lan0 metric 1");
    EXPECT_EQ(recorded().dhcp, false);
    EXPECT_FALSE(recorded().lease);
}

TEST_F(NetshInNamespace, FixedAddressWithoutGatewayLeavesNoDefaultRoute) {
    ASSERT_EQ(netsh({"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.60.0.5",
                     "mask=255.255.255.0", "gateway=10.60.0.1", "1"})
                  .exitCode,
              0);
    const CommandOutput out = netsh({"interface", "ip", "set", "address", "lan0", "source=static",
                                     "addr=172.20.1.2", "mask=255.255.0.0"});
    ASSERT_EQ(out.exitCode, 0) << out.output;

    EXPECT_EQ(addresses(), "172.20.1.2/16");
    EXPECT_EQ(defaultRoutes(), "");
}

TEST_F(NetshInNamespace, DhcpTakesAddressRouteAndDnsFromTheLease) {
    startDhcpServer();
    const CommandOutput address =
        netsh({"interface", "ip", "set", "address", "lan0", "source=dhcp"});
    ASSERT_EQ(address.exitCode, 0) << address.output;
    const CommandOutput dns = netsh({"interface", "ip", "set", "dns", "name=lan0", "source=dhcp"});
    ASSERT_EQ(dns.exitCode, 0) << dns.output;

    const InterfaceState state = recorded();
    ASSERT_TRUE(state.lease);
    EXPECT_EQ(state.dhcp, true);
    EXPECT_EQ(state.dnsAuto, true);
    EXPECT_EQ(state.lease->server, "10.77.0.1");
    EXPECT_EQ(state.lease->router, "10.77.0.1");
    EXPECT_EQ(state.lease->mask, "255.255.255.0");
    EXPECT_EQ(state.lease->dnsServers, (std::vector<std::string>{"10.77.0.53", "10.77.0.54"}));
    EXPECT_EQ(state.lease->expires - state.lease->obtained, 3600);
    EXPECT_EQ(addresses(), state.lease->address + "/24");
    EXPECT_EQ(state.lease->address.rfind("10.77.0.", 0), 0u) << state.lease->address;
    EXPECT_EQ(defaultRoutes(), "default via 10.77.0.1 dev lan0");
    EXPECT_EQ(nameservers(ns_->resolvConf()),
              (std::vector<std::string>{"10.77.0.53", "10.77.0.54"}));
    const auto client = runningDhcpClient();
    ASSERT_TRUE(client);

    // Back to a fixed address: the client is stopped and cannot bring its lease back.
    const CommandOutput fixed = netsh({"interface", "ip", "set", "address", "lan0", "source=static",
                                       "addr=10.77.0.200", "mask=255.255.255.0"});
    ASSERT_EQ(fixed.exitCode, 0) << fixed.output;
    EXPECT_TRUE(ended(*client));
    EXPECT_FALSE(runningDhcpClient());
    EXPECT_EQ(addresses(), "10.77.0.200/24");
    EXPECT_EQ(recorded().dhcp, false);
    EXPECT_FALSE(recorded().lease);
}

TEST_F(NetshInNamespace, AutomaticDnsSetBeforeTheLeaseIsFilledByTheLease) {
    startDhcpServer();
    ns_->writeResolvConf("search example.test\nnameserver 192.0.2.99\n");
    ASSERT_EQ(netsh({"interface", "ip", "set", "dns", "name=lan0", "source=dhcp"}).exitCode, 0);
    // The system's own server is not ours to take away.
    EXPECT_EQ(nameservers(ns_->resolvConf()), std::vector<std::string>{"192.0.2.99"});

    ASSERT_EQ(netsh({"interface", "ip", "set", "address", "lan0", "source=dhcp"}).exitCode, 0);
    const std::string conf = ns_->resolvConf();
    EXPECT_EQ(nameservers(conf),
              (std::vector<std::string>{"10.77.0.53", "10.77.0.54", "192.0.2.99"}));
    EXPECT_NE(conf.find("search example.test"), std::string::npos) << conf;
}

TEST_F(NetshInNamespace, HandSetDnsServersKeepTheirOrderAndGoBackToDhcp) {
    startDhcpServer();
    ASSERT_EQ(netsh({"interface", "ip", "set", "address", "lan0", "source=dhcp"}).exitCode, 0);

    CommandOutput out = netsh(
        {"interface", "ip", "set", "dns", "name=lan0", "source=static", "203.0.113.1", "primary"});
    ASSERT_EQ(out.exitCode, 0) << out.output;
    out = netsh({"interface", "ip", "add", "dns", "name=lan0", "addr=203.0.113.2", "index=2"});
    ASSERT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(nameservers(ns_->resolvConf()),
              (std::vector<std::string>{"203.0.113.1", "203.0.113.2"}));
    EXPECT_EQ(recorded().dnsAuto, false);
    EXPECT_EQ(platform::nameServerValue(recorded()), "203.0.113.1,203.0.113.2");

    out = netsh({"interface", "ip", "set", "dns", "name=lan0", "source=dhcp"});
    ASSERT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(nameservers(ns_->resolvConf()),
              (std::vector<std::string>{"10.77.0.53", "10.77.0.54"}));
    EXPECT_EQ(recorded().dnsAuto, true);
    EXPECT_EQ(platform::nameServerValue(recorded()), "");

    // A profile without DNS servers: "static  primary" clears them.
    out = netsh({"interface", "ip", "set", "dns", "name=lan0", "source=static", "primary"});
    ASSERT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(nameservers(ns_->resolvConf()), std::vector<std::string>{});
    EXPECT_EQ(recorded().dnsAuto, false);
}

TEST_F(NetshInNamespace, NoLeaseWithinTheWaitIsAFailure) {
    const CommandOutput out =
        netsh({"interface", "ip", "set", "address", "lan0", "source=dhcp"}, 1500);
    EXPECT_NE(out.exitCode, 0);
    EXPECT_NE(out.output.find("no DHCP lease for lan0 within 1.5 s"), std::string::npos)
        << out.output;
    EXPECT_EQ(recorded().dhcp, true) << "DHCP is on; the client keeps trying";
    EXPECT_FALSE(recorded().lease);
    EXPECT_EQ(addresses(), "");
}

TEST_F(NetshInNamespace, VanishedInterfaceFailsWithAClearMessageAndChangesNothing) {
    ASSERT_EQ(ns_->run({"ip", "link", "del", "lan0"}).exitCode, 0);
    const CommandOutput out = netsh({"interface", "ip", "set", "address", "lan0", "source=static",
                                     "addr=10.60.0.5", "mask=255.255.255.0"});
    EXPECT_NE(out.exitCode, 0);
    EXPECT_NE(out.output.find("interface \"lan0\" does not exist"), std::string::npos)
        << out.output;
    EXPECT_FALSE(platform::readInterfaceState(state_.path(), "lan0"));
}

TEST_F(NetshInNamespace, InvalidValuesChangeNothing) {
    ASSERT_EQ(netsh({"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.60.0.5",
                     "mask=255.255.255.0"})
                  .exitCode,
              0);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.61.0.5",
              "mask=255.0.255.0"},
             {"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.61.0.256",
              "mask=255.255.255.0"},
             {"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.61.0.5",
              "mask=255.255.255.0", "gateway=10.62.0.1", "1"},
             {"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.61.0.5",
              "mask=255.255.255.0", "gateway=10.61.0.1", "x"}}) {
        const CommandOutput out = netsh(args);
        EXPECT_NE(out.exitCode, 0) << args[6] << " " << args[7];
        EXPECT_NE(out.output.find("netsh: "), std::string::npos);
    }
    EXPECT_EQ(addresses(), "10.60.0.5/24");
}

TEST_F(NetshInNamespace, WithoutAdministratorRightsNothingChanges) {
    const CommandOutput out =
        ns_->run({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", QUORREL_NETSH_PATH,
                  "interface", "ip", "set", "address", "lan0", "source=static", "addr=10.60.0.5",
                  "mask=255.255.255.0"},
                 {"QUORREL_NETSTATE_DIR=" + state_.path()});
    if (out.output.find("setpriv:") != std::string::npos) {
        GTEST_SKIP() << "cannot drop the rights here: " << out.output;
    }
    // The distinct exit code that has the program ask for the rights through pkexec.
    EXPECT_EQ(out.exitCode, platform::kNetshNeedsRightsExit);
    EXPECT_NE(out.output.find("needs administrator rights; nothing was changed"), std::string::npos)
        << out.output;
    EXPECT_EQ(addresses(), "");
}

}  // namespace
}  // namespace quorrel::netsh
