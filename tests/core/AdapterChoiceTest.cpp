#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapters/AdapterChoice.h"
#include "adapters/LabelPadding.h"
#include "resources/ProfileTexts.h"
#include "tests/core/RecordingPresenter.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"

namespace quorrel {
namespace {

using test::tableEntry;

TEST(LabelPaddingTest, CaptionsArePaddedToThirteenColumnsWithHangulCountingTwo) {
    const std::array<std::string, kDetailRows> labels = adapterDetailLabels();
    const std::array<std::string, kDetailRows> expected = {
        "어댑터       : ", "MAC주소      : ", "IP주소       : ", "서브넷마스크 : ",
        "게이트웨이   : ", "DNS 기본서버 : ", "DNS 보조서버 : ", "DHCP         : "};
    for (std::size_t row = 0; row < kDetailRows; ++row) {
        EXPECT_EQ(labels[row], expected[row]) << "row " << row;
        EXPECT_EQ(displayColumns(labels[row]), 15) << "row " << row;
    }
}

TEST(LabelPaddingTest, ColumnsOfMixedBrokenAndOverlongTexts) {
    EXPECT_EQ(displayColumns(""), 0);
    EXPECT_EQ(displayColumns("ab 가"), 5);
    EXPECT_EQ(displayColumns("ｱＡ"), 3);       // half-width katakana is narrow, full-width A wide
    EXPECT_EQ(displayColumns("\xEA\xB0"), 2);  // a cut-off syllable: two stray bytes
    EXPECT_EQ(displayColumns("\xFF"
                             "a"),
              2);
    // A caption wider than the column count keeps its text and still gets its colon.
    EXPECT_EQ(paddedLabel("네트워크 어댑터 이름"), "네트워크 어댑터 이름: ");
    EXPECT_EQ(paddedLabel("IP", 4), "IP  : ");
}

TEST(AdapterListSearchTest, ExactSearchIgnoresCaseStartsAfterTheGivenEntryAndWraps) {
    const std::vector<std::string> entries = {"LAN", "lan", "Wireless", "wireless 2"};
    EXPECT_EQ(findEntryIgnoringCase(entries, "lan", 0), 1) << "entry 0 is looked at last";
    EXPECT_EQ(findEntryIgnoringCase(entries, "LAN", 1), 0) << "wraps round to the start";
    EXPECT_EQ(findEntryIgnoringCase(entries, "WIRELESS", 0), 2);
    EXPECT_EQ(findEntryIgnoringCase(entries, "wireless", 3), 2);
    EXPECT_EQ(findEntryIgnoringCase(entries, "Wireless 2 ", 0), -1) << "no trimming";
    EXPECT_EQ(findEntryIgnoringCase(entries, "Wire", 0), -1) << "no prefix match";
    EXPECT_EQ(findEntryIgnoringCase({"only"}, "ONLY", 0), 0);
    EXPECT_EQ(findEntryIgnoringCase({}, "", 0), -1);
    EXPECT_EQ(findEntryIgnoringCase({"로컬 영역 연결"}, "로컬 영역 연결", 0), 0);
}

TEST(AdapterListOrderTest, SortsAsASortedListBoxWithoutRegardToCase) {
    std::vector<std::string> names = {"Wlan0", "로컬 영역 연결", "a0", "lan", "eth10",
                                      "LAN",   "eth1",           "B1", "_x"};
    std::sort(names.begin(), names.end(), listBoxOrder);
    EXPECT_EQ(names, (std::vector<std::string>{"_x", "a0", "B1", "eth1", "eth10", "LAN", "lan",
                                               "Wlan0", "로컬 영역 연결"}));
    EXPECT_FALSE(listBoxOrder("lan", "LAN"));
    EXPECT_TRUE(listBoxOrder("LAN", "lan"));
    EXPECT_FALSE(listBoxOrder("a0", "a0"));
}

class AdapterChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.entries = {tableEntry("{A}", 1, "10.0.0.5", "255.0.0.0", "10.0.0.1"),
                         tableEntry("{B}", 0, "192.168.1.7", "255.255.255.0", "192.168.1.1"),
                         tableEntry("{C}", 0, "172.16.0.9", "255.255.0.0", "")};
        keys.add("{A}", "로컬 영역 연결");
        keys.add("{B}", "로컬 영역 연결 2", "168.126.63.1,168.126.63.2");
        keys.add("{C}", "로컬 영역 연결 3", "");
        ASSERT_EQ(inventory.enumerate(), 1);
        registry.addKey(texts::kSettingsKeyPath);
    }

    std::string selectedConnection() const {
        const AdapterInfo* record = inventory.selectedRecord();
        return record != nullptr ? record->connectionName : "(none)";
    }

    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    test::RecordingPresenter messages;
    AdapterInventory inventory{table, keys, messages};
    test::MemoryRegistryStore registry;
    Settings settings{registry, nullptr};
};

TEST_F(AdapterChoiceTest, ConfirmingRemembersTheNameAndMarksOnlyThatAdapter) {
    inventory.setSelectedName("로컬 영역 연결");
    inventory.markSelected();

    confirmAdapterChoice(inventory, settings, "로컬 영역 연결 2", true);
    EXPECT_EQ(inventory.selectedName(), "로컬 영역 연결 2");
    EXPECT_EQ(selectedConnection(), "로컬 영역 연결 2");
    int marked = 0;
    for (const AdapterInfo& record : inventory.records()) {
        marked += record.selected;
    }
    EXPECT_EQ(marked, 1) << "the earlier choice loses its mark";
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue),
              "로컬 영역 연결 2");
    EXPECT_EQ(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue), 1u);
}

TEST_F(AdapterChoiceTest, WithoutRememberingOrWithAnUnknownNameTheChoiceStillTakesEffect) {
    confirmAdapterChoice(inventory, settings, "로컬 영역 연결 3", false);
    EXPECT_EQ(selectedConnection(), "로컬 영역 연결 3");
    EXPECT_FALSE(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue));
    EXPECT_FALSE(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue));

    // Nothing selected in the list: an empty name is stored and the first adapter chosen.
    confirmAdapterChoice(inventory, settings, "", true);
    EXPECT_EQ(inventory.selectedName(), "");
    EXPECT_EQ(selectedConnection(), "로컬 영역 연결");
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue), "");
}

TEST_F(AdapterChoiceTest, AMissingSettingsKeyIsNotCreatedByTheChoice) {
    test::MemoryRegistryStore empty;
    Settings noKey{empty, nullptr};
    confirmAdapterChoice(inventory, noKey, "로컬 영역 연결 2", true);
    EXPECT_EQ(selectedConnection(), "로컬 영역 연결 2");
    EXPECT_FALSE(empty.hasKey(texts::kSettingsKeyPath));
}

TEST_F(AdapterChoiceTest, DetailsShowTheRecordOfThatExactNameAndDhcpAsTrueOrFalse) {
    EXPECT_EQ(findAdapterByName(inventory, "로컬 영역 연결 22"), nullptr);
    const AdapterInfo* second = findAdapterByName(inventory, "로컬 영역 연결 2");
    ASSERT_NE(second, nullptr);
    const auto values = adapterDetailValues(*second);
    const std::array<std::string, kDetailRows> expected = {
        "로컬 영역 연결 2", "00:0C:29:AB:CD:EF", "192.168.1.7",  "255.255.255.0",
        "192.168.1.1",      "168.126.63.1",      "168.126.63.2", "FALSE"};
    EXPECT_EQ(values, expected);

    const AdapterInfo* first = findAdapterByName(inventory, "로컬 영역 연결");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(adapterDetailValues(*first)[7], "TRUE");
    EXPECT_EQ(adapterDetailValues(*first)[2], "10.0.0.5") << "what the platform reports";

    AdapterInfo odd = *first;
    odd.dhcpEnabled = 2;  // only exactly 1 counts as DHCP
    EXPECT_EQ(adapterDetailValues(odd)[7], "FALSE");
}

}  // namespace
}  // namespace quorrel
