#include <gtest/gtest.h>

#include "apply/ApplyPlan.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

// The profile every case starts from and changes what it is about.
IpProfile office() {
    return test::fixedProfile("사무실", "10.0.0.5")
        .gateway("10.0.0.1")
        .dns("10.0.0.53", "10.0.0.54");
}

TEST(ApplyPlanLines, DhcpProfileGivesTwoLinesAndNoThird) {
    IpProfile p = office();
    p.useDhcp = 1;
    p.dnsAuto = 1;
    const ApplyPlan plan = buildApplyPlan(p, "로컬 영역 연결");
    EXPECT_EQ(plan.addressLine,
              "netsh.exe interface ip set address \"로컬 영역 연결\" source=dhcp");
    EXPECT_EQ(plan.dnsLine, "netsh.exe interface ip set dns name=\"로컬 영역 연결\" source=dhcp");
    EXPECT_EQ(plan.secondDnsLine, "");
}

TEST(ApplyPlanLines, FixedAddressWithAndWithoutGateway) {
    IpProfile p = office();
    EXPECT_EQ(buildApplyPlan(p, "eth0").addressLine,
              "netsh.exe interface ip set address \"eth0\" source=static addr=10.0.0.5 "
              "mask=255.255.255.0 gateway=10.0.0.1 1");

    p.gateway.clear();
    EXPECT_EQ(buildApplyPlan(p, "eth0").addressLine,
              "netsh.exe interface ip set address \"eth0\" source=static addr=10.0.0.5 "
              "mask=255.255.255.0");
}

TEST(ApplyPlanLines, ManualDnsWithAndWithoutSecondaryServer) {
    IpProfile p = office();
    ApplyPlan plan = buildApplyPlan(p, "eth0");
    EXPECT_EQ(plan.dnsLine,
              "netsh.exe interface ip set dns name=\"eth0\" source=static 10.0.0.53 primary");
    EXPECT_EQ(plan.secondDnsLine,
              "netsh.exe interface ip add dns name=\"eth0\" addr=10.0.0.54 index=2");

    p.secondaryDns.clear();
    plan = buildApplyPlan(p, "eth0");
    EXPECT_EQ(plan.dnsLine,
              "netsh.exe interface ip set dns name=\"eth0\" source=static 10.0.0.53 primary");
    EXPECT_TRUE(plan.secondDnsLine.empty());
}

TEST(ApplyPlanLines, BothDnsServersEmptyLeaveTwoBlanksBeforePrimary) {
    IpProfile p = office();
    p.primaryDns.clear();
    p.secondaryDns.clear();
    const ApplyPlan plan = buildApplyPlan(p, "eth0");
    EXPECT_EQ(plan.dnsLine, "netsh.exe interface ip set dns name=\"eth0\" source=static  primary");
    EXPECT_TRUE(plan.secondDnsLine.empty());
}

TEST(ApplyPlanLines, AutomaticDnsIgnoresStoredServers) {
    IpProfile p = office();
    p.dnsAuto = 1;
    const ApplyPlan plan = buildApplyPlan(p, "eth0");
    EXPECT_EQ(plan.dnsLine, "netsh.exe interface ip set dns name=\"eth0\" source=dhcp");
    EXPECT_TRUE(plan.secondDnsLine.empty());
}

TEST(ApplyPlanLines, OnlyExactlyOneMeansDhcp) {
    IpProfile p = office();
    p.useDhcp = 2;
    p.dnsAuto = 2;
    const ApplyPlan plan = buildApplyPlan(p, "eth0");
    EXPECT_NE(plan.addressLine.find("source=static"), std::string::npos);
    EXPECT_NE(plan.dnsLine.find("source=static"), std::string::npos);
}

TEST(ApplyPlanLines, TextsAreInsertedUnchanged) {
    IpProfile p = office();
    p.ipAddress = "10.0.0.%s";  // a format mark inside a value stays as it is
    const std::string name = std::string("Wi-Fi 2 \"x\"%d") + '\0' + "tail";
    const ApplyPlan plan = buildApplyPlan(p, name);
    EXPECT_EQ(plan.addressLine, "netsh.exe interface ip set address \"" + name +
                                    "\" source=static addr=10.0.0.%s mask=255.255.255.0 "
                                    "gateway=10.0.0.1 1");
    EXPECT_EQ(plan.secondDnsLine,
              "netsh.exe interface ip add dns name=\"" + name + "\" addr=10.0.0.54 index=2");
}

TEST(ApplyPlanLines, BlanksInTheConnectionNameStayInsideTheQuotes) {
    IpProfile p = office();
    p.useDhcp = 1;
    const ApplyPlan plan = buildApplyPlan(p, "  Local Area  Connection 2 ");
    EXPECT_EQ(plan.addressLine,
              "netsh.exe interface ip set address \"  Local Area  Connection 2 \" source=dhcp");
    EXPECT_EQ(plan.dnsLine,
              "netsh.exe interface ip set dns name=\"  Local Area  Connection 2 \" "
              "source=static 10.0.0.53 primary");
}

TEST(ApplyConfirmation, DhcpMarkReadsDhcpAndOtherTextsStay) {
    const ConfirmationTexts dhcp =
        makeConfirmationTexts("로컬 영역 연결", "- DHCP -", "- DHCP -", "- DHCP -");
    EXPECT_EQ(dhcp.adapterName, "로컬 영역 연결");
    EXPECT_EQ(dhcp.ipText, "DHCP");
    EXPECT_EQ(dhcp.maskText, "DHCP");
    EXPECT_EQ(dhcp.gatewayText, "DHCP");

    const ConfirmationTexts fixed = makeConfirmationTexts("eth0", "10.0.0.5", "255.0.0.0", "");
    EXPECT_EQ(fixed.ipText, "10.0.0.5");
    EXPECT_EQ(fixed.maskText, "255.0.0.0");
    EXPECT_EQ(fixed.gatewayText, "");
    EXPECT_EQ(confirmationText("- DHCP - "), "- DHCP - ");  // exact comparison only
}

}  // namespace
}  // namespace quorrel
