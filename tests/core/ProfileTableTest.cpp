#include <gtest/gtest.h>

#include "cli/ProfileTable.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;

TEST(ProfileTable, WideCharactersTakeTwoCells) {
    EXPECT_EQ(displayWidth(""), 0u);
    EXPECT_EQ(displayWidth("eth0"), 4u);
    EXPECT_EQ(displayWidth("사무실"), 6u);
    EXPECT_EQ(displayWidth("집 2"), 4u);
    EXPECT_EQ(displayWidth("漢字"), 4u);
    EXPECT_EQ(displayWidth("ＡＢ"), 4u);              // full-width forms
    EXPECT_EQ(displayWidth("é"), 1u);                 // two bytes, one narrow character
    EXPECT_EQ(displayWidth("\xF0\x9F\x98\x80"), 1u);  // four bytes, outside the wide ranges
}

TEST(ProfileTable, ColumnsLineUpWhateverTheNamesAreMadeOf) {
    ProfileList profiles;
    profiles.append(dhcpProfile("사무실"));
    profiles.append(fixedProfile("home", "10.77.0.20")
                        .gateway("10.77.0.1")
                        .dns("10.77.0.1", "8.8.8.8")
                        .current());
    profiles.append(fixedProfile("실험실 2", "192.168.50.10", "255.255.0.0"));
    profiles.append(dhcpProfile("카페").dns("1.1.1.1"));
    EXPECT_EQ(formatProfileTable(profiles),
              "  이름      IP 주소        서브넷 마스크  게이트웨이  DNS\n"
              "  사무실    DHCP           -              -           자동\n"
              "* home      10.77.0.20     255.255.255.0  10.77.0.1   10.77.0.1, 8.8.8.8\n"
              "  실험실 2  192.168.50.10  255.255.0.0    -           -\n"
              "  카페      DHCP           -              -           1.1.1.1\n");
}

TEST(ProfileTable, ABrokenNameIsShownReadableAndKeepsTheColumns) {
    ProfileList profiles;
    IpProfile damaged = dhcpProfile("x");
    damaged.name = "a\xED\xB2\x80";  // a carried byte of a damaged data file
    profiles.append(damaged);
    const std::string table = formatProfileTable(profiles);
    EXPECT_NE(table.find("\n  a\xEF\xBF\xBD    DHCP"), std::string::npos) << table;
}

TEST(ProfileTable, AdapterSettingsInOneLine) {
    AdapterInfo dhcp;
    dhcp.dhcpEnabled = 1;
    dhcp.dnsAuto = 1;
    dhcp.ipAddress = "10.77.0.57";
    dhcp.subnetMask = "255.255.255.0";
    dhcp.gateway = "10.77.0.1";
    EXPECT_EQ(describeAdapterSettings(dhcp),
              "DHCP, IP 주소 10.77.0.57, 서브넷 마스크 255.255.255.0, 게이트웨이 10.77.0.1, "
              "DNS 자동");
    AdapterInfo fixed;
    fixed.ipAddress = "192.168.50.10";
    fixed.subnetMask = "255.255.255.0";
    fixed.primaryDns = "192.168.50.1";
    EXPECT_EQ(describeAdapterSettings(fixed),
              "IP 주소 192.168.50.10, 서브넷 마스크 255.255.255.0, 게이트웨이 -, DNS "
              "192.168.50.1");
}

}  // namespace
}  // namespace quorrel
