#include "netsh/DnsConfigurator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "netsh/AdminRights.h"
#include "tests/support/TempFolder.h"

namespace quorrel::netsh {
namespace {

TEST(ResolvConf, NameserverLinesAreReplacedAndTheRestKept) {
    const std::string before =
        "# written by hand\nsearch lab.test\nnameserver 1.1.1.1\noptions edns0\n"
        "  nameserver 2.2.2.2\nnameservers-are-not-this 3\n";
    const std::string after = rewriteResolvConf(before, {"10.0.0.53", "10.0.0.54"}, "eth0");
    EXPECT_EQ(after,
              "# written by hand\nsearch lab.test\n"
              "# DNS servers set by quorrel's netsh for eth0\n"
              "nameserver 10.0.0.53\nnameserver 10.0.0.54\n"
              "options edns0\nnameservers-are-not-this 3\n");
    // Rewriting again keeps one marker line, and no servers leaves none.
    const std::string cleared = rewriteResolvConf(after, {}, "eth1");
    EXPECT_EQ(cleared,
              "# written by hand\nsearch lab.test\n"
              "# DNS servers set by quorrel's netsh for eth1\n"
              "options edns0\nnameservers-are-not-this 3\n");
    EXPECT_EQ(rewriteResolvConf("", {"9.9.9.9"}, "eth0"),
              "# DNS servers set by quorrel's netsh for eth0\nnameserver 9.9.9.9\n");
}

TEST(ResolvConf, AFileIsReplacedAndALinkKeptPointingAtItsTarget) {
    test::TempFolder folder;
    const std::string file = folder.file("resolv.conf");
    test::writeFileBytes(file, "search x\nnameserver 1.1.1.1\n");
    auto dns = makeResolvConfDns(file);
    ASSERT_EQ(dns->apply("eth0", {"10.0.0.53"}), "");
    EXPECT_EQ(test::readFileBytes(file),
              "search x\n# DNS servers set by quorrel's netsh for eth0\nnameserver 10.0.0.53\n");

    const std::string link = folder.file("link.conf");
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    ASSERT_EQ(makeResolvConfDns(link)->apply("eth0", {"10.0.0.99"}), "");
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(test::readFileBytes(file).find("nameserver 10.0.0.99"), std::string::npos);

    EXPECT_NE(makeResolvConfDns(folder.file("no/such/folder"))->apply("eth0", {}), "");
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
