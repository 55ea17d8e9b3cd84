#include "netsh/DnsConfigurator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "netsh/AdminRights.h"
#include "tests/netsh/NetshFakes.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel::netsh {
namespace {

constexpr const char* kTag = " # set by quorrel's netsh for ";

TEST(ResolvConf, TheSystemsLinesStayAndEachInterfaceHasItsServersInFront) {
    const std::string system =
        "# written by hand\nsearch lab.test\nnameserver 1.1.1.1\noptions edns0\n"
        "  nameserver 2.2.2.2\nnameservers-are-not-this 3\n";
    const std::string both =
        rewriteResolvConf(system, {{"eth1", {"10.1.0.53"}}, {"eth0", {"10.0.0.53", "10.0.0.54"}}});
    EXPECT_EQ(both, std::string("# written by hand\nsearch lab.test\n") + "nameserver 10.0.0.53" +
                        kTag + "eth0\n" + "nameserver 10.0.0.54" + kTag + "eth0\n" +
                        "nameserver 10.1.0.53" + kTag + "eth1\n" +
                        "nameserver 1.1.1.1\noptions edns0\n  nameserver 2.2.2.2\n"
                        "nameservers-are-not-this 3\n");
    // Written again the same, whatever was there of ours before.
    EXPECT_EQ(
        rewriteResolvConf(both, {{"eth0", {"10.0.0.53", "10.0.0.54"}}, {"eth1", {"10.1.0.53"}}}),
        both);
    // One interface's servers go without touching the other's or the system's.
    EXPECT_EQ(rewriteResolvConf(both, {{"eth1", {"10.1.0.53"}}}),
              std::string("# written by hand\nsearch lab.test\n") + "nameserver 10.1.0.53" + kTag +
                  "eth1\n" +
                  "nameserver 1.1.1.1\noptions edns0\n  nameserver 2.2.2.2\n"
                  "nameservers-are-not-this 3\n");
    EXPECT_EQ(rewriteResolvConf(both, {}), system);
}

TEST(ResolvConf, WithoutSystemServersOursGoAtTheEndAndEachServerOnce) {
    EXPECT_EQ(
        rewriteResolvConf("search x\n", {{"a0", {"9.9.9.9"}}, {"b0", {"9.9.9.9", "8.8.8.8"}}}),
        std::string("search x\nnameserver 9.9.9.9") + kTag + "a0\nnameserver 8.8.8.8" + kTag +
            "b0\n");
    EXPECT_EQ(rewriteResolvConf("", {{"eth0", {"9.9.9.9"}}}),
              std::string("nameserver 9.9.9.9") + kTag + "eth0\n");
}

TEST(ResolvConf, TheBlockOfEarlierVersionsIsTakenForOurs) {
    const std::string earlier =
        "search x\n# DNS servers set by quorrel's netsh for eth0\nnameserver 10.0.0.53\n"
        "nameserver 10.0.0.54\noptions rotate\nnameserver 192.0.2.1\n";
    EXPECT_EQ(rewriteResolvConf(earlier, {}), "search x\noptions rotate\nnameserver 192.0.2.1\n");
}

TEST(ResolvConf, AFileIsReplacedAndALinkKeptPointingAtItsTarget) {
    test::TempFolder folder;
    const std::string file = folder.file("resolv.conf");
    test::writeFileBytes(file, "search x\nnameserver 1.1.1.1\n");
    auto dns = makeResolvConfDns(file);
    ASSERT_TRUE(test::succeeded(dns->publish("eth0", {{"eth0", {"10.0.0.53"}}})));
    EXPECT_EQ(test::readFileBytes(file),
              std::string("search x\nnameserver 10.0.0.53") + kTag + "eth0\nnameserver 1.1.1.1\n");

    const std::string link = folder.file("link.conf");
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    ASSERT_TRUE(
        test::succeeded(makeResolvConfDns(link)->publish("eth0", {{"eth0", {"10.0.0.99"}}})));
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(test::readFileBytes(file).find("nameserver 10.0.0.99"), std::string::npos);

    EXPECT_FALSE(makeResolvConfDns(folder.file("no/such/folder"))->publish("eth0", {}));
}

TEST(Resolvectl, OnlyTheChangedLinkIsSet) {
    fakes::RecordingRunner runner;
    auto dns = makeResolvectlDns(runner);
    const AdapterDnsServers all = {{"eth0", {"10.0.0.53", "10.0.0.54"}}, {"eth1", {"10.1.0.53"}}};
    ASSERT_TRUE(test::succeeded(dns->publish("eth0", all)));
    ASSERT_TRUE(test::succeeded(dns->publish("eth2", all)));
    EXPECT_EQ(runner.lines, (std::vector<std::string>{"resolvectl dns eth0 10.0.0.53 10.0.0.54",
                                                      "resolvectl dns eth2 "}));
    runner.failOn = "resolvectl";
    EXPECT_FALSE(dns->publish("eth1", all));
}

TEST(AdminRights, CapNetAdminIsBitTwelveOfTheEffectiveSet) {
    EXPECT_TRUE(statusGrantsNetAdmin("Name:\tx\nCapEff:\t0000000000001000\n"));
    EXPECT_TRUE(statusGrantsNetAdmin("CapEff:\t000001ffffffffff\n"));
    EXPECT_FALSE(statusGrantsNetAdmin("CapPrm:\t0000000000001000\nCapEff:\t0000000000000800\n"));
    EXPECT_FALSE(statusGrantsNetAdmin("CapEff:\t0000000000000000\n"));
    EXPECT_FALSE(statusGrantsNetAdmin("Name:\tx\n"));
}

}  // namespace
}  // namespace quorrel::netsh
