// From the main window to the network: the apply command of the real frame, with our netsh
// changing an interface inside a network namespace of the test's own (root only).

#include <gtest/gtest.h>

#include <memory>

#include "app/ui/CMainFrame.h"
#include "resources/ApplyTexts.h"
#include "tests/e2e/ApplyStage.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::ApplyStage;

bool inLeaseRange(const std::string& address) {
    // "10.77.0.5x/24" from the DHCP server's range .50 to .60.
    for (int host = 50; host <= 60; ++host) {
        if (address == "10.77.0." + std::to_string(host) + "/24") {
            return true;
        }
    }
    return false;
}

class ApplyInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = ApplyStage::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        stage = std::make_unique<ApplyStage>(QUORREL_NETSH_PATH);
        stage->open({test::fixedProfile("사무실", "10.77.0.20")
                         .gateway("10.77.0.1")
                         .dns("10.77.0.53", "10.77.0.99"),
                     test::dhcpProfile("자동"),
                     test::dhcpProfile("자동 수동DNS").dns("10.77.0.8", "10.77.0.9")});
        ASSERT_TRUE(stage->frame().chosenAdapter().currentSettings);
        ASSERT_EQ(stage->frame().chosenAdapter().currentSettings->connectionName, "lan0");
    }

    // The last message, which must be the only one since `before` messages.
    std::string lastMessage(std::size_t before) const {
        const auto& messages = stage->prompter.messages;
        EXPECT_EQ(messages.size(), before + 1);
        return messages.empty() ? std::string() : messages.back().text;
    }

    std::unique_ptr<ApplyStage> stage;
};

TEST_F(ApplyInNamespace, FixedThenDhcpThenDhcpWithHandSetDnsEachReachTheInterface) {
    CMainFrame& frame = stage->frame();

    stage->apply("사무실");
    EXPECT_EQ(lastMessage(0), texts::kApplyDoneText);
    EXPECT_EQ(stage->addresses(), "10.77.0.20/24");
    EXPECT_EQ(stage->defaultRoute(), "default via 10.77.0.1 dev lan0 metric 1");
    EXPECT_EQ(stage->nameservers(), (std::vector<std::string>{"10.77.0.53", "10.77.0.99"}));
    EXPECT_TRUE(stage->checked("사무실"));
    EXPECT_FALSE(stage->checked("자동"));
    {
        const AdapterInfo& lan = stage->adapterRecord();
        EXPECT_EQ(lan.connectionName, "lan0");
        EXPECT_EQ(lan.ipAddress, "10.77.0.20");
        EXPECT_EQ(lan.subnetMask, "255.255.255.0");
        EXPECT_EQ(lan.gateway, "10.77.0.1");
        EXPECT_EQ(lan.dhcpEnabled, 0);
        EXPECT_EQ(lan.primaryDns, "10.77.0.53");
        EXPECT_EQ(lan.secondaryDns, "10.77.0.99");
    }
    EXPECT_EQ(frame.chosenAdapter().currentSettings->ipAddress, "10.77.0.20");

    stage->apply("자동");
    EXPECT_EQ(lastMessage(1), texts::kApplyDoneText);
    const std::string leased = stage->addresses();
    EXPECT_TRUE(inLeaseRange(leased)) << leased;
    EXPECT_NE(stage->defaultRoute().find("default via 10.77.0.1 dev lan0"), std::string::npos)
        << stage->defaultRoute();
    EXPECT_EQ(stage->nameservers(), (std::vector<std::string>{"10.77.0.53", "10.77.0.54"}));
    EXPECT_TRUE(stage->checked("자동"));
    EXPECT_FALSE(stage->checked("사무실"));
    {
        const AdapterInfo& lan = stage->adapterRecord();
        EXPECT_EQ(lan.dhcpEnabled, 1);
        EXPECT_EQ(lan.dnsAuto, 1);
        EXPECT_EQ(lan.ipAddress + "/24", leased);
        EXPECT_EQ(lan.gateway, "10.77.0.1");
        EXPECT_EQ(lan.primaryDns, "");
    }
    EXPECT_EQ(frame.applyRun().lastAppliedName, "자동");

    stage->apply("자동 수동DNS");
    EXPECT_EQ(lastMessage(2), texts::kApplyDoneText);
    EXPECT_TRUE(inLeaseRange(stage->addresses())) << stage->addresses();
    EXPECT_EQ(stage->nameservers(), (std::vector<std::string>{"10.77.0.8", "10.77.0.9"}));
    EXPECT_TRUE(stage->checked("자동 수동DNS"));
    EXPECT_FALSE(stage->checked("자동"));
    {
        const AdapterInfo& lan = stage->adapterRecord();
        EXPECT_EQ(lan.dhcpEnabled, 1);
        EXPECT_EQ(lan.dnsAuto, 0);
        EXPECT_EQ(lan.primaryDns, "10.77.0.8");
        EXPECT_EQ(lan.secondaryDns, "10.77.0.9");
    }
    EXPECT_EQ(frame.applyRun().applyBusy, 0);
    EXPECT_EQ(stage->prompter.confirmations, 3);
}

TEST_F(ApplyInNamespace, AnInterfaceThatVanishedEndsInTheFailureMessageWithMarksKept) {
    stage->apply("사무실");
    ASSERT_EQ(lastMessage(0), texts::kApplyDoneText);

    ASSERT_EQ(stage->network().run({"ip", "link", "del", "lan0"}).exitCode, 0);
    stage->apply("자동");
    ASSERT_EQ(stage->prompter.messages.size(), 2u);
    EXPECT_EQ(stage->prompter.messages[1].text, texts::kApplyFailedText);
    EXPECT_EQ(stage->prompter.messages[1].caption, texts::kApplyFailedCaption);
    EXPECT_EQ(stage->prompter.messages[1].icon, MessageIcon::Stop);
    EXPECT_TRUE(stage->checked("사무실"));
    EXPECT_FALSE(stage->checked("자동"));
    EXPECT_EQ(stage->frame().applyRun().lastAppliedName, "사무실");
    EXPECT_EQ(stage->frame().chosenAdapter().currentSettings->ipAddress, "10.77.0.20");
    EXPECT_EQ(stage->frame().applyRun().applyBusy, 0);
}

}  // namespace
}  // namespace quorrel
