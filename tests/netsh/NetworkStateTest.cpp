#include "platform/linux/NetworkState.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel::platform {
namespace {

InterfaceState fullState() {
    InterfaceState state;
    state.dhcp = true;
    state.dnsAuto = false;
    state.dnsServers = {"168.126.63.1", "168.126.63.2"};
    DhcpLease lease;
    lease.server = "10.0.0.254";
    lease.address = "10.0.0.50";
    lease.mask = "255.255.255.0";
    lease.router = "10.0.0.1";
    lease.obtained = 1700000000;
    lease.expires = 1700003600;
    lease.dnsServers = {"10.0.0.53", "10.0.0.54"};
    state.lease = lease;
    return state;
}

TEST(NetworkState, WhatIsWrittenIsReadBack) {
    test::TempFolder folder;
    for (const InterfaceState& state : {fullState(), InterfaceState{}}) {
        ASSERT_TRUE(test::succeeded(writeInterfaceState(folder.path(), "eth0", state)));
        EXPECT_EQ(readInterfaceState(folder.path(), "eth0"), state);
    }
    InterfaceState onlyDns;
    onlyDns.dnsAuto = true;
    ASSERT_TRUE(test::succeeded(writeInterfaceState(folder.path(), "eth1", onlyDns)));
    const auto back = readInterfaceState(folder.path(), "eth1");
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->dhcp) << "an address source never set stays unknown";
    EXPECT_EQ(back->dnsAuto, true);
    EXPECT_FALSE(readInterfaceState(folder.path(), "eth2")) << "never recorded";
}

TEST(NetworkState, ReadingToleratesCommentsUnknownKeysAndCrLf) {
    const InterfaceState state = parseInterfaceState(
        "# note\r\naddress-source=static\r\nfuture-key=1\r\ndns=1.1.1.1\r\ndns=\r\n"
        "dns-source=maybe\r\nlease-obtained=soon\r\ngarbage\r\ndns=9.9.9.9\r\n");
    EXPECT_EQ(state.dhcp, false);
    EXPECT_FALSE(state.dnsAuto) << "an unknown value counts as not known";
    EXPECT_EQ(state.dnsServers, (std::vector<std::string>{"1.1.1.1", "9.9.9.9"}));
    ASSERT_TRUE(state.lease);
    EXPECT_EQ(state.lease->obtained, 0);
}

TEST(NetworkState, WritesReplaceTheFileWholeAndCreateTheFolder) {
    test::TempFolder folder;
    const std::string nested = folder.path() + "a/b";
    ASSERT_TRUE(test::succeeded(writeInterfaceState(nested, "eth0", fullState())));
    ASSERT_TRUE(test::succeeded(writeInterfaceState(nested, "eth0", InterfaceState{})));
    EXPECT_EQ(readInterfaceState(nested, "eth0"), InterfaceState{});
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(nested)) {
        ++files;
    }
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST(NetworkState, NamesThatCannotBeInterfacesAreRefused) {
    test::TempFolder folder;
    for (const char* bad : {"", ".", "..", "../eth0", "a/b", "eth0:1", "my lan", "sixteen-chars-xx",
                            "로컬 영역 연결"}) {
        EXPECT_FALSE(isValidInterfaceName(bad)) << bad;
        EXPECT_FALSE(writeInterfaceState(folder.path(), bad, InterfaceState{})) << bad;
        EXPECT_FALSE(readInterfaceState(folder.path(), bad)) << bad;
    }
    EXPECT_TRUE(isValidInterfaceName("fifteen-chars-x"));
    EXPECT_TRUE(isValidInterfaceName("wlp2s0"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "../eth0.state"));
}

TEST(NetworkState, TheEnvironmentChoosesTheFolder) {
    test::TempFolder folder;
    const char* old = std::getenv("QUORREL_NETSTATE_DIR");
    const std::string saved = old ? old : "";
    ::setenv("QUORREL_NETSTATE_DIR", (folder.path() + "state//").c_str(), 1);
    EXPECT_EQ(networkStateFolder(), folder.path() + "state");
    ASSERT_TRUE(test::succeeded(writeInterfaceState("eth0", fullState())));
    EXPECT_EQ(readInterfaceState(folder.path() + "state", "eth0"), fullState());
    EXPECT_EQ(readInterfaceState("eth0"), fullState());
    ::setenv("QUORREL_NETSTATE_DIR", "", 1);
    EXPECT_EQ(networkStateFolder(), "/var/lib/quorrel/netstate");
    if (old) {
        ::setenv("QUORREL_NETSTATE_DIR", saved.c_str(), 1);
    } else {
        ::unsetenv("QUORREL_NETSTATE_DIR");
    }
}

TEST(NetworkState, NameServerValueJoinsTheHandSetServers) {
    InterfaceState state;
    EXPECT_EQ(nameServerValue(state), "");
    state.dnsServers = {"192.168.0.1"};
    EXPECT_EQ(nameServerValue(state), "192.168.0.1");
    state.dnsServers = {"192.168.0.1", "168.126.63.1"};
    EXPECT_EQ(nameServerValue(state), "192.168.0.1,168.126.63.1");
}

TEST(NetworkState, AStalePidFileDoesNotCountAsARunningClient) {
    test::TempFolder folder;
    EXPECT_FALSE(dhcpClientRunning(folder.path(), "eth0")) << "no pid file";
    test::writeFileBytes(dhcpPidPath(folder.path(), "eth0"), std::to_string(::getpid()) + "\n");
    EXPECT_FALSE(dhcpClientRunning(folder.path(), "eth0")) << "that process is no DHCP client";
    test::writeFileBytes(dhcpPidPath(folder.path(), "eth0"), "not a number");
    EXPECT_FALSE(dhcpClientRunning(folder.path(), "eth0"));
}

}  // namespace
}  // namespace quorrel::platform
