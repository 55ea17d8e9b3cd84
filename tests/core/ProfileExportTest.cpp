// A profile written as a NetworkManager keyfile and as a netplan file.
#include <gtest/gtest.h>

#include "cli/ProfileExport.h"
#include "tests/core/CommandLineRunFixture.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::CommandLineRunTest;
using test::dhcpProfile;
using test::fixedProfile;

TEST(ProfileExport, EachKindOfProfileIsWrittenForBothTools) {
    const IpProfile manualDnsOverDhcp = dhcpProfile("집 (DNS 직접)").dns("1.1.1.1");
    const struct {
        IpProfile profile;
        const char* ipv4;     // the keyfile's [ipv4] section
        const char* netplan;  // the netplan file's interface part
    } cases[] = {
        {dhcpProfile("사무실"), "method=auto\n", "      dhcp4: true\n"},
        {manualDnsOverDhcp, "method=auto\ndns=1.1.1.1;\nignore-auto-dns=true\n",
         "      dhcp4: true\n      nameservers:\n        addresses: [1.1.1.1]\n"
         "      dhcp4-overrides:\n        use-dns: false\n"},
        {fixedProfile("실험실", "10.0.0.5", "255.255.0.0")
             .gateway("10.0.0.1")
             .dns("10.0.0.1", "8.8.8.8"),
         "method=manual\naddress1=10.0.0.5/16\ngateway=10.0.0.1\ndns=10.0.0.1;8.8.8.8;\n",
         "      dhcp4: false\n      addresses: [10.0.0.5/16]\n      routes:\n"
         "        - to: default\n          via: 10.0.0.1\n      nameservers:\n"
         "        addresses: [10.0.0.1, 8.8.8.8]\n"},
        {fixedProfile("섬", "192.168.50.10"), "method=manual\naddress1=192.168.50.10/24\n",
         "      dhcp4: false\n      addresses: [192.168.50.10/24]\n"},
    };
    for (const auto& c : cases) {
        const std::string name = c.profile.name;
        const auto keyfile = exportProfile(c.profile, "eth0", ExportFormat::NetworkManagerKeyfile);
        ASSERT_TRUE(keyfile) << name;
        EXPECT_EQ(keyfile->substr(0, 22 + name.size()), "[connection]\nid=" + name + "\nuuid=")
            << name;
        EXPECT_NE(keyfile->find("\ntype=ethernet\ninterface-name=eth0\n"), std::string::npos);
        EXPECT_NE(keyfile->find("\n[ipv4]\n" + std::string(c.ipv4) + "\n[ipv6]\n"),
                  std::string::npos)
            << *keyfile;
        const auto yaml = exportProfile(c.profile, "eth0", ExportFormat::Netplan);
        ASSERT_TRUE(yaml) << name;
        EXPECT_EQ(*yaml, "# " + name + "\nnetwork:\n  version: 2\n  ethernets:\n    \"eth0\":\n" +
                             c.netplan)
            << name;
    }
    // One profile on one interface is one connection, whatever exports it.
    const auto first =
        exportProfile(dhcpProfile("사무실"), "eth0", ExportFormat::NetworkManagerKeyfile);
    const auto again =
        exportProfile(dhcpProfile("사무실"), "eth0", ExportFormat::NetworkManagerKeyfile);
    const auto other =
        exportProfile(dhcpProfile("사무실"), "eth1", ExportFormat::NetworkManagerKeyfile);
    EXPECT_EQ(*first, *again);
    EXPECT_NE(first->substr(0, 70), other->substr(0, 70));
}

TEST(ProfileExport, AddressesThatAreNoneAreNotWritten) {
    for (const IpProfile& profile :
         {IpProfile(fixedProfile("a", "10.0.0.5", "255.0.255.0")),
          IpProfile(fixedProfile("b", "10.0.0.5", "0.0.0.0")), IpProfile(fixedProfile("c", "주소")),
          IpProfile(fixedProfile("d", "10.0.0.5").gateway("x"))}) {
        EXPECT_FALSE(exportProfile(profile, "eth0", ExportFormat::Netplan)) << profile.name;
    }
}

TEST_F(CommandLineRunTest, ExportWritesTheNamedProfileForTheChosenOrNamedInterface) {
    EXPECT_EQ(run({"--export", "netplan", "집"}), 0);
    EXPECT_NE(out.find("    \"eth0\":\n      dhcp4: false\n"), std::string::npos) << out;
    out.clear();
    EXPECT_EQ(run({"--export", "nm", "집", "--adapter", "enp3s0"}), 0);
    EXPECT_NE(out.find("interface-name=enp3s0\n"), std::string::npos) << out;
    EXPECT_EQ(run({"--export", "ini", "집"}), 2);
    EXPECT_EQ(run({"--export", "keyfile"}), 2);
    EXPECT_EQ(run({"--export", "keyfile", "없음"}), 3);
    writeProfiles({fixedProfile("깨짐", "10.0.0.5", "255.0.255.0")});
    EXPECT_EQ(run({"--export", "keyfile", "깨짐"}), 12);
    expectSettingsOnlyRead();
}

}  // namespace
}  // namespace quorrel
