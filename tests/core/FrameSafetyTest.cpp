// The apply's side of the safety net (ApplyRun): what it keeps before an apply, and how putting
// the previous configuration back ends.
#include <gtest/gtest.h>

#include <deque>

#include "adapters/AdapterInventory.h"
#include "app/DataStartup.h"
#include "app/RestorePoint.h"
#include "app/SelectedProfile.h"
#include "resources/SafetyTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/FrameParts.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/PassThroughCodec.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::fixedProfile;

constexpr const char* kAdapter = "로컬 영역 연결";

class RecordedBoxes final : public MessagePresenter {
public:
    MessageResult show(const Message& message) override {
        shown.push_back(message);
        return MessageResult::Ok;
    }
    std::vector<Message> shown;
};

class FrameSafetyTest : public ::testing::Test {
protected:
    FrameSafetyTest() {
        table.entries = {test::tableEntry("{A}", 0, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
        keys.add("{A}", kAdapter, "10.1.1.53,10.1.1.54");
        inventory.enumerate();
        state.adapter.attachInventory(inventory);
        state.store.installFolder = "/data/";
        inventory.setSelectedName(kAdapter);
        inventory.markSelected();
        state.adapter.chosen(state.store.profileList);
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const IpProfile& p : state.store.profileList) {
            result.push_back(p.name + (p.isCurrent == 1 ? " *" : ""));
        }
        return result;
    }

    // Applies 사무실 successfully, after taking the restore point as the window does.
    RestorePoint applyOffice() {
        // The adapter keeps its DNS servers: 사무실 names the same.
        state.store.profileList.append(fixedProfile("사무실", "192.168.0.10")
                                           .gateway("192.168.0.1")
                                           .dns("10.1.1.53", "10.1.1.54"));
        std::optional<RestorePoint> point = state.apply.restorePointBeforeApply();
        EXPECT_TRUE(point);
        EXPECT_TRUE(state.apply.beginApply("사무실", nullptr));
        table.entries = {
            test::tableEntry("{A}", 0, "192.168.0.10", "255.255.255.0", "192.168.0.1")};
        state.apply.finishApply(true);
        messages.shown.clear();
        return point.value_or(RestorePoint{});
    }

    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    RecordedBoxes messages;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    AdapterInventory inventory{table, keys, messages};
    test::FrameParts state{ProfileStoreServices{files, codec, messages, [](const std::string&) {}}};
};

TEST_F(FrameSafetyTest, TheRestorePointIsTheAdaptersConfigurationAsAProfile) {
    // Something changed the adapter since the last reading: the point takes what is now.
    table.entries = {test::tableEntry("{A}", 0, "10.1.1.6", "255.255.0.0", "10.1.1.2")};
    const std::optional<RestorePoint> point = state.apply.restorePointBeforeApply();
    ASSERT_TRUE(point);
    EXPECT_EQ(point->connectionName, kAdapter);
    EXPECT_EQ(point->settings.ipAddress, "10.1.1.6");
    EXPECT_EQ(point->settings.subnetMask, "255.255.0.0");
    EXPECT_EQ(point->settings.gateway, "10.1.1.2");
    EXPECT_EQ(point->settings.primaryDns, "10.1.1.53");
    EXPECT_EQ(point->settings.secondaryDns, "10.1.1.54");
    EXPECT_EQ(point->settings.useDhcp, 0);
    EXPECT_TRUE(point->settings.name.empty());

    // Putting it back is the apply of that profile.
    const ApplyPlan plan = restorePlan(*point);
    EXPECT_EQ(plan.addressLine, buildApplyPlan(point->settings, kAdapter).addressLine);
    EXPECT_NE(plan.addressLine.find("10.1.1.6"), std::string::npos);
}

TEST_F(FrameSafetyTest, UnderDhcpTheRestorePointKeepsNoAddressTexts) {
    table.entries = {test::tableEntry("{A}", 1, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
    keys.interfaceKeys.clear();
    keys.add("{A}", kAdapter);
    const std::optional<RestorePoint> point = state.apply.restorePointBeforeApply();
    ASSERT_TRUE(point);
    EXPECT_EQ(point->settings.useDhcp, 1);
    EXPECT_EQ(point->settings.dnsAuto, 1);
    EXPECT_TRUE(point->settings.ipAddress.empty());
    EXPECT_TRUE(point->settings.gateway.empty());
    EXPECT_TRUE(point->settings.primaryDns.empty());
}

TEST_F(FrameSafetyTest, NoRestorePointWhileAnApplyRunsOrWithoutTheAdapter) {
    state.store.profileList.append(fixedProfile("사무실", "192.168.0.10"));
    ASSERT_TRUE(state.apply.beginApply("사무실", nullptr));
    EXPECT_FALSE(state.apply.restorePointBeforeApply());
    EXPECT_FALSE(state.apply.beginPutBack(RestorePoint{}));
    state.apply.finishApply(true);

    table.entries.clear();
    EXPECT_FALSE(state.apply.restorePointBeforeApply());
}

TEST_F(FrameSafetyTest, ASuccessfulPutBackBringsBackTheMarkAndTheNameAppliedLast) {
    EXPECT_EQ(names(), (std::vector<std::string>{"설정[1] *"}));
    const RestorePoint point = applyOffice();
    EXPECT_EQ(names(), (std::vector<std::string>{"설정[1]", "사무실 *"}));
    EXPECT_EQ(state.apply.lastAppliedName, "사무실");

    ASSERT_TRUE(state.apply.beginPutBack(point));
    EXPECT_EQ(state.apply.applyBusy, 1);
    table.entries = {test::tableEntry("{A}", 0, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
    state.apply.finishPutBack(point, true);

    EXPECT_EQ(state.apply.applyBusy, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"설정[1] *", "사무실"}));
    EXPECT_EQ(state.apply.lastAppliedName, "");
    ASSERT_TRUE(state.adapter.currentSettings);
    EXPECT_EQ(state.adapter.currentSettings->ipAddress, "10.1.1.5");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts::kPutBackDoneText);
    EXPECT_FALSE(files.files.count(state.store.dataFilePath()));
}

TEST_F(FrameSafetyTest, AFailedPutBackKeepsThePreviousConfigurationAsRestoreProfiles) {
    const RestorePoint point = applyOffice();
    state.store.profileList.append(fixedProfile("복원[1]", "172.16.0.1"));

    for (const char* expected : {"복원[2]", "복원[3]"}) {
        SCOPED_TRACE(expected);
        messages.shown.clear();
        ASSERT_TRUE(state.apply.beginPutBack(point));
        state.apply.finishPutBack(point, false);  // the adapter still shows 사무실's settings

        EXPECT_EQ(state.apply.applyBusy, 0);
        const IpProfile* kept = state.store.profileList.findByName(expected);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->ipAddress, "10.1.1.5");
        EXPECT_EQ(kept->gateway, "10.1.1.1");
        EXPECT_EQ(kept->primaryDns, "10.1.1.53");
        EXPECT_EQ(kept->isCurrent, 0);
        // Saved at once, so the data file holds it even if the program goes down now.
        ASSERT_TRUE(files.files.count(state.store.dataFilePath()));
        EXPECT_NE(files.files[state.store.dataFilePath()].find(expected), std::string::npos);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
        EXPECT_NE(messages.shown[0].text.find(std::string("\"") + expected + "\""),
                  std::string::npos);
        // The mark follows what the adapter shows.
        EXPECT_EQ(state.store.profileList.findByName("사무실")->isCurrent, 1);
    }
}

}  // namespace
}  // namespace quorrel
