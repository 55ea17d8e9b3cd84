#include "netsh/CommandValidator.h"

#include <gtest/gtest.h>

#include "netsh/Ipv4.h"
#include "tests/netsh/NetshFakes.h"

namespace quorrel::netsh {
namespace {

TEST(Ipv4, AcceptsOnlyStrictDottedQuads) {
    EXPECT_EQ(parseIpv4("192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(parseIpv4("0.0.0.0"), 0u);
    EXPECT_EQ(parseIpv4("255.255.255.255"), 0xFFFFFFFFu);
    for (const char* bad :
         {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1.2.3.-1", "1..2.3", "1.2.3.4.", ".1.2.3",
          " 1.2.3.4", "1.2.3.4 ", "01.2.3.4", "1.2.3.0x1", "1.2.3.1000", "１.2.3.4", "1,2,3,4"}) {
        EXPECT_FALSE(parseIpv4(bad)) << bad;
    }
    EXPECT_EQ(formatIpv4(0x0A000105u), "10.0.1.5");
}

TEST(Ipv4, MasksMustBeContiguous) {
    EXPECT_EQ(prefixLengthOf(*parseIpv4("255.255.255.0")), 24);
    EXPECT_EQ(prefixLengthOf(*parseIpv4("255.255.255.252")), 30);
    EXPECT_EQ(prefixLengthOf(*parseIpv4("255.255.255.255")), 32);
    EXPECT_EQ(prefixLengthOf(*parseIpv4("128.0.0.0")), 1);
    EXPECT_EQ(prefixLengthOf(0u), 0);
    EXPECT_FALSE(prefixLengthOf(*parseIpv4("255.0.255.0")));
    EXPECT_FALSE(prefixLengthOf(*parseIpv4("255.255.255.1")));
    EXPECT_FALSE(prefixLengthOf(*parseIpv4("0.255.255.255")));
}

class CommandValidatorTest : public ::testing::Test {
protected:
    std::string check(NetshCommand command) {
        if (command.interfaceName.empty()) {
            command.interfaceName = "eth0";
        }
        return validateCommand(command, interfaces_).error();
    }

    static NetshCommand fixed(std::string address, std::string mask, std::string gateway = "",
                              std::optional<std::string> metric = std::nullopt) {
        NetshCommand c;
        c.action = NetshAction::SetAddress;
        c.address = std::move(address);
        c.mask = std::move(mask);
        c.gateway = std::move(gateway);
        c.gatewayMetricText = std::move(metric);
        return c;
    }

    fakes::FakeInterfaces interfaces_{{"eth0"}, {"lo"}};
};

TEST_F(CommandValidatorTest, TheInterfaceMustExistAndNotBeTheLoopback) {
    NetshCommand c = fixed("10.0.0.5", "255.255.255.0");
    c.interfaceName = "eth9";
    EXPECT_EQ(check(c), "the interface \"eth9\" does not exist");
    c.dhcp = true;
    EXPECT_NE(check(c), "") << "also for DHCP";

    for (const NetshAction action :
         {NetshAction::SetAddress, NetshAction::SetDns, NetshAction::AddDns}) {
        NetshCommand onLoopback = fixed("127.0.0.1", "255.0.0.0");
        onLoopback.action = action;
        onLoopback.address = action == NetshAction::SetAddress ? "10.0.0.5" : "10.0.0.53";
        onLoopback.interfaceName = "lo";
        EXPECT_EQ(check(onLoopback),
                  "the interface \"lo\" is the loopback interface and cannot be configured");
    }
}

TEST_F(CommandValidatorTest, FixedAddressesAreCheckedAgainstTheirSubnet) {
    EXPECT_EQ(check(fixed("10.0.0.5", "255.255.255.0")), "");
    EXPECT_EQ(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.1", "1")), "");
    EXPECT_EQ(check(fixed("10.0.0.1", "255.255.255.254", "10.0.0.0")), "") << "a /31 link";
    EXPECT_EQ(check(fixed("10.0.0.1", "255.255.255.255")), "");

    EXPECT_NE(check(fixed("10.0.0.256", "255.255.255.0")), "");
    EXPECT_NE(check(fixed("10.0.0.5", "255.0.255.0")), "") << "not contiguous";
    EXPECT_NE(check(fixed("10.0.0.5", "0.0.0.0")), "");
    EXPECT_NE(check(fixed("0.0.0.0", "255.0.0.0")), "");
    EXPECT_NE(check(fixed("127.0.0.2", "255.0.0.0")), "");
    EXPECT_NE(check(fixed("224.0.0.5", "255.255.255.0")), "");
    EXPECT_NE(check(fixed("10.0.0.0", "255.255.255.0")), "") << "network address";
    EXPECT_NE(check(fixed("10.0.0.255", "255.255.255.0")), "") << "broadcast address";
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.1.1")), "") << "other subnet";
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.5")), "") << "itself";
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.255")), "");
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.1.")), "");
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.1", "x")), "");
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.1", "-1")), "");
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.1", "10000")), "");
    EXPECT_NE(check(fixed("10.0.0.5", "255.255.255.0", "10.0.0.1", "")), "");
}

TEST_F(CommandValidatorTest, DnsServersAndIndex) {
    NetshCommand set;
    set.action = NetshAction::SetDns;
    EXPECT_EQ(check(set), "") << "no server: clears the list";
    set.address = "127.0.0.53";
    EXPECT_EQ(check(set), "") << "a local resolver is a valid server";
    set.address = "0.0.0.0";
    EXPECT_NE(check(set), "");
    set.address = "239.1.1.1";
    EXPECT_NE(check(set), "");
    set.address = "8.8.8";
    EXPECT_NE(check(set), "");

    NetshCommand add;
    add.action = NetshAction::AddDns;
    add.address = "168.126.63.2";
    EXPECT_EQ(check(add), "");
    add.indexText = "2";
    EXPECT_EQ(check(add), "");
    for (const char* bad : {"0", "1000", "two", "", "+2"}) {
        add.indexText = bad;
        EXPECT_NE(check(add), "") << bad;
    }
}

TEST_F(CommandValidatorTest, TheCheckedCommandCarriesItsNumbersForTheRoads) {
    NetshCommand route = fixed("10.0.0.5", "255.255.255.0", "10.0.0.1", "0042");
    route.interfaceName = "eth0";
    NetshCommand add;
    add.action = NetshAction::AddDns;
    add.interfaceName = "eth0";
    add.address = "168.126.63.2";
    add.indexText = "2";
    NetshCommand atTheEnd = add;
    atTheEnd.indexText.reset();
    const struct {
        NetshCommand command;
        std::optional<int> metric;
        std::optional<int> index;
    } cases[] = {
        {route, 42, std::nullopt}, {add, std::nullopt, 2}, {atTheEnd, std::nullopt, std::nullopt}};
    for (const auto& c : cases) {
        const Expected<NetshCommand> checked = validateCommand(c.command, interfaces_);
        ASSERT_TRUE(checked) << checked.error();
        EXPECT_EQ(checked->gatewayMetric, c.metric);
        EXPECT_EQ(checked->index, c.index);
    }
}

}  // namespace
}  // namespace quorrel::netsh
