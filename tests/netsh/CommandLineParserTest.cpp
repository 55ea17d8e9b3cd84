#include "netsh/CommandLineParser.h"

#include <gtest/gtest.h>

namespace quorrel::netsh {
namespace {

NetshCommand parsed(const std::vector<std::string>& args) {
    const ParseOutcome outcome = parseCommandLine(args);
    EXPECT_TRUE(outcome.command.has_value()) << outcome.error;
    return outcome.command.value_or(NetshCommand{});
}

std::string errorOf(const std::vector<std::string>& args) {
    const ParseOutcome outcome = parseCommandLine(args);
    EXPECT_FALSE(outcome.command.has_value());
    return outcome.error;
}

// The lines the apply plan writes, as the process starter splits them.
TEST(CommandLineParser, ReadsTheAddressLinesOfThePlan) {
    NetshCommand dhcp =
        parsed({"interface", "ip", "set", "address", "로컬 영역 연결", "source=dhcp"});
    EXPECT_EQ(dhcp.action, NetshAction::SetAddress);
    EXPECT_EQ(dhcp.interfaceName, "로컬 영역 연결");
    EXPECT_TRUE(dhcp.dhcp);

    NetshCommand noGateway = parsed({"interface", "ip", "set", "address", "eth0", "source=static",
                                     "addr=10.0.0.5", "mask=255.255.255.0"});
    EXPECT_FALSE(noGateway.dhcp);
    EXPECT_EQ(noGateway.address, "10.0.0.5");
    EXPECT_EQ(noGateway.mask, "255.255.255.0");
    EXPECT_EQ(noGateway.gateway, "");
    EXPECT_FALSE(noGateway.gatewayMetricText);

    NetshCommand withGateway =
        parsed({"interface", "ip", "set", "address", "eth0", "source=static", "addr=10.0.0.5",
                "mask=255.255.255.0", "gateway=10.0.0.1", "1"});
    EXPECT_EQ(withGateway.gateway, "10.0.0.1");
    ASSERT_TRUE(withGateway.gatewayMetricText);
    EXPECT_EQ(*withGateway.gatewayMetricText, "1");
}

TEST(CommandLineParser, ReadsTheDnsLinesOfThePlan) {
    NetshCommand automatic =
        parsed({"interface", "ip", "set", "dns", "name=로컬 영역 연결", "source=dhcp"});
    EXPECT_EQ(automatic.action, NetshAction::SetDns);
    EXPECT_EQ(automatic.interfaceName, "로컬 영역 연결");
    EXPECT_TRUE(automatic.dhcp);

    NetshCommand primary = parsed(
        {"interface", "ip", "set", "dns", "name=eth0", "source=static", "168.126.63.1", "primary"});
    EXPECT_FALSE(primary.dhcp);
    EXPECT_EQ(primary.address, "168.126.63.1");

    // "static  primary" with no server between: the hand-set servers are cleared.
    NetshCommand cleared =
        parsed({"interface", "ip", "set", "dns", "name=eth0", "source=static", "primary"});
    EXPECT_FALSE(cleared.dhcp);
    EXPECT_EQ(cleared.address, "");

    NetshCommand second =
        parsed({"interface", "ip", "add", "dns", "name=eth0", "addr=168.126.63.2", "index=2"});
    EXPECT_EQ(second.action, NetshAction::AddDns);
    EXPECT_EQ(second.address, "168.126.63.2");
    ASSERT_TRUE(second.indexText);
    EXPECT_EQ(*second.indexText, "2");
}

TEST(CommandLineParser, AcceptsTheUsualKeywordAndPositionalForms) {
    NetshCommand positional = parsed({"int", "IPv4", "SET", "Address", "eth0", "STATIC", "10.1.2.3",
                                      "255.255.0.0", "10.1.0.1", "5"});
    EXPECT_EQ(positional.address, "10.1.2.3");
    EXPECT_EQ(positional.mask, "255.255.0.0");
    EXPECT_EQ(positional.gateway, "10.1.0.1");
    EXPECT_EQ(positional.gatewayMetricText.value_or(""), "5");

    NetshCommand tagged = parsed({"interface", "ip", "set", "address", "Name=eth0", "Source=Static",
                                  "address=10.1.2.3", "MASK=255.255.0.0", "gateway=none"});
    EXPECT_EQ(tagged.interfaceName, "eth0");
    EXPECT_EQ(tagged.address, "10.1.2.3");
    EXPECT_EQ(tagged.gateway, "");

    NetshCommand quoted = parsed({"interface", "ip", "set", "dns", "name=\"my lan\"",
                                  "source=static", "addr=10.0.0.53", "register=primary"});
    EXPECT_EQ(quoted.interfaceName, "my lan");
    EXPECT_EQ(quoted.address, "10.0.0.53");

    NetshCommand none = parsed({"interface", "ip", "set", "dnsservers", "eth0", "static", "none"});
    EXPECT_EQ(none.address, "");

    NetshCommand positionalAdd = parsed({"interface", "ip", "add", "dns", "eth0", "10.0.0.9", "3"});
    EXPECT_EQ(positionalAdd.address, "10.0.0.9");
    EXPECT_EQ(positionalAdd.indexText.value_or(""), "3");
}

TEST(CommandLineParser, RefusesIncompleteOrContradictoryCommands) {
    EXPECT_NE(errorOf({}), "");
    EXPECT_NE(errorOf({"interface", "ip", "set"}), "");
    EXPECT_NE(errorOf({"firewall", "ip", "set", "address", "eth0", "source=dhcp"}), "");
    EXPECT_NE(errorOf({"interface", "ipv6", "set", "address", "eth0", "source=dhcp"}), "");
    EXPECT_NE(errorOf({"interface", "ip", "delete", "address", "eth0"}), "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "source=dhcp"}), "")
        << "no name: the first untagged word is the name";
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "name=", "source=dhcp"}), "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "eth0"}), "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "eth0", "source=bootp"}), "");
    EXPECT_NE(
        errorOf({"interface", "ip", "set", "address", "eth0", "source=dhcp", "addr=10.0.0.5"}), "");
    EXPECT_NE(
        errorOf({"interface", "ip", "set", "address", "eth0", "source=static", "addr=10.0.0.5"}),
        "")
        << "a fixed address needs its mask";
    EXPECT_NE(
        errorOf({"interface", "ip", "set", "address", "eth0", "source=static", "mask=255.0.0.0"}),
        "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "eth0", "source=static",
                       "addr=10.0.0.5", "mask=255.0.0.0", "gwmetric=1"}),
              "")
        << "a metric without a gateway";
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "eth0", "source=static",
                       "addr=10.0.0.5", "mask=255.0.0.0", "10.0.0.1", "1", "extra"}),
              "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "eth0", "source=dhcp", "name=eth1"}),
              "")
        << "the name given twice";
    EXPECT_NE(errorOf({"interface", "ip", "set", "address", "eth0", "source=dhcp", "colour=red"}),
              "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "dns", "eth0", "source=dhcp", "10.0.0.1"}), "");
    EXPECT_NE(errorOf({"interface", "ip", "set", "dns", "eth0", "static", "10.0.0.1", "always"}),
              "");
    EXPECT_NE(errorOf({"interface", "ip", "add", "dns", "name=eth0", "index=2"}), "");
}

}  // namespace
}  // namespace quorrel::netsh
