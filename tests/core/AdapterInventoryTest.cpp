#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/AdapterInventory.h"
#include "resources/AdapterTexts.h"
#include "resources/AppTexts.h"
#include "tests/support/FakeAdapterPlatform.h"

namespace quorrel {
namespace {

using test::tableEntry;

class RecordingPresenter final : public MessagePresenter {
public:
    std::vector<Message> shown;
    MessageResult show(const Message& message) override {
        shown.push_back(message);
        return MessageResult::Ok;
    }
};

class AdapterInventoryTest : public ::testing::Test {
protected:
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    RecordingPresenter messages;
    AdapterInventory inventory{table, keys, messages};

    std::vector<std::string> connectionNames() const {
        std::vector<std::string> names;
        for (const auto& record : inventory.records()) {
            names.push_back(record.connectionName);
        }
        return names;
    }

    const AdapterInfo& only() const {
        EXPECT_EQ(inventory.records().size(), 1u);
        return inventory.records().front();
    }
};

TEST_F(AdapterInventoryTest, NoAdapterShowsTheSearchFailureAndLeavesTheListEmpty) {
    EXPECT_EQ(inventory.enumerate(), 0);
    EXPECT_TRUE(inventory.empty());
    EXPECT_EQ(table.fetches, 0);  // a size of 0 means no adapter: nothing is fetched
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "설치되어진 랜카드가 없습니다.\n하나이상의 랜카드를 설치 후 다시 실행하여주십시오.");
    EXPECT_EQ(messages.shown[0].caption, "어댑터 검색 실패");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(AdapterInventoryTest, CopiesTheTableFieldsInPlatformOrder) {
    table.entries = {tableEntry("{B}", 0, "10.0.0.5", "255.255.255.0", "10.0.0.1"),
                     tableEntry("{A}", 1, "192.168.0.7", "255.255.0.0", "192.168.0.1")};
    table.entries[1].address = {0x52, 0x54, 0x00, 0x0a, 0xbb, 0x01};
    keys.add("{B}", "로컬 영역 연결", "10.0.0.53");
    keys.add("{A}", "무선", "");

    EXPECT_EQ(inventory.enumerate(), 1);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(connectionNames(), (std::vector<std::string>{"로컬 영역 연결", "무선"}));
    const AdapterInfo& fixed = inventory.records().front();
    EXPECT_EQ(fixed.adapterId, "{B}");
    EXPECT_EQ(fixed.macAddress, "00:0C:29:AB:CD:EF");
    EXPECT_EQ(fixed.ipAddress, "10.0.0.5");
    EXPECT_EQ(fixed.subnetMask, "255.255.255.0");
    EXPECT_EQ(fixed.gateway, "10.0.0.1");
    EXPECT_EQ(fixed.dhcpEnabled, 0);
    EXPECT_EQ(fixed.dnsAuto, 0);
    EXPECT_EQ(fixed.selected, 0);
    const AdapterInfo& dhcp = inventory.records().back();
    EXPECT_EQ(dhcp.macAddress, "52:54:00:0A:BB:01");
    EXPECT_EQ(dhcp.dhcpEnabled, 1);
    EXPECT_EQ(dhcp.ipAddress, "192.168.0.7");
    EXPECT_EQ(keys.openKeys, 0);  // every key is closed again
}

TEST(MacAddressText, FormatsUpToEightBytes) {
    EXPECT_EQ(formatMacAddress({}), "");
    EXPECT_EQ(formatMacAddress({0x0f}), "0F");
    EXPECT_EQ(formatMacAddress({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), "01:02:03:04:05:06:07:08");
}

TEST_F(AdapterInventoryTest, OnlyDhcpValueOneCountsAsDhcp) {
    table.entries = {tableEntry("{A}", 2)};
    keys.add("{A}", "eth0", "");
    inventory.enumerate();
    EXPECT_EQ(only().dhcpEnabled, 0);
    EXPECT_EQ(only().dnsAuto, 0);
}

struct NameServerCase {
    std::string value;
    std::string primary;
    std::string secondary;
};

class NameServerSplit : public AdapterInventoryTest,
                        public ::testing::WithParamInterface<NameServerCase> {};

TEST_P(NameServerSplit, SplitsAtTheFirstComma) {
    table.entries = {tableEntry("{A}", 1)};
    keys.add("{A}", "eth0", GetParam().value);
    inventory.enumerate();
    EXPECT_EQ(only().primaryDns, GetParam().primary);
    EXPECT_EQ(only().secondaryDns, GetParam().secondary);
    EXPECT_EQ(only().dnsAuto, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NameServerSplit,
    ::testing::Values(NameServerCase{"192.168.0.1,168.126.63.1", "192.168.0.1", "168.126.63.1"},
                      NameServerCase{"10.0.0.1,10.0.0.2,10.0.0.3", "10.0.0.1", "10.0.0.2,10.0.0.3"},
                      NameServerCase{"10.0.0.1", "10.0.0.1", ""},
                      NameServerCase{",10.0.0.2", "", "10.0.0.2"}));

TEST_F(AdapterInventoryTest, DnsIsAutomaticOnlyForDhcpWithoutServers) {
    table.entries = {tableEntry("{dhcp-empty}", 1), tableEntry("{fixed-empty}", 0, "10.0.0.2"),
                     tableEntry("{dhcp-no-value}", 1), tableEntry("{dhcp-comma}", 1)};
    keys.add("{dhcp-empty}", "a", "");
    keys.add("{fixed-empty}", "b", "");
    keys.add("{dhcp-no-value}", "c");
    keys.add("{dhcp-comma}", "d", ",");
    inventory.enumerate();
    std::vector<int> dnsAuto;
    for (const auto& record : inventory.records()) {
        dnsAuto.push_back(record.dnsAuto);
        EXPECT_EQ(record.primaryDns, "");
        EXPECT_EQ(record.secondaryDns, "");
    }
    EXPECT_EQ(dnsAuto, (std::vector<int>{1, 0, 1, 1}));
}

TEST_F(AdapterInventoryTest, MissingConnectionKeySkipsTheAdapterWithOneMessage) {
    table.entries = {tableEntry("{A}", 0), tableEntry("{gone}", 0), tableEntry("{C}", 0)};
    keys.add("{A}", "first", "");
    keys.add("{C}", "third", "");
    keys.interfaceKeys["{gone}"];

    EXPECT_EQ(inventory.enumerate(), 1);
    EXPECT_EQ(connectionNames(), (std::vector<std::string>{"first", "third"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Adapter Local Address 레지스트리 열기 실패");
    EXPECT_EQ(messages.shown[0].caption, texts::kAppTitle);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(AdapterInventoryTest, MissingInterfaceKeyKeepsTheAdapterWithoutDns) {
    table.entries = {tableEntry("{A}", 1, "192.168.0.7")};
    keys.connectionKeys["{A}"][platform::kConnectionNameValue] = "eth0";

    EXPECT_EQ(inventory.enumerate(), 1);
    EXPECT_EQ(only().connectionName, "eth0");
    EXPECT_EQ(only().dhcpEnabled, 1);
    EXPECT_EQ(only().dnsAuto, 0);  // even for DHCP: nothing says the servers are automatic
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "DNS Server 레지스트리 열기 실패");
    EXPECT_EQ(messages.shown[0].caption, texts::kAppTitle);
}

TEST_F(AdapterInventoryTest, ValuesTooLongForTheBufferStayEmpty) {
    table.entries = {tableEntry("{A}", 1), tableEntry("{B}", 0)};
    keys.add("{A}", std::string(255, 'n'), std::string(255, '1'));
    keys.add("{B}", std::string(254, 'n'), "10.0.0.1," + std::string(245, '2'));
    inventory.enumerate();
    const AdapterInfo& tooLong = inventory.records().front();
    EXPECT_EQ(tooLong.connectionName, "");
    EXPECT_EQ(tooLong.primaryDns, "");
    EXPECT_EQ(tooLong.dnsAuto, 1);
    const AdapterInfo& fits = inventory.records().back();
    EXPECT_EQ(fits.connectionName.size(), 254u);
    EXPECT_EQ(fits.primaryDns, "10.0.0.1");
    EXPECT_EQ(fits.secondaryDns.size(), 245u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AdapterInventoryTest, TableThatGrowsBetweenTheTwoCallsIsFetchedAgain) {
    table.entries = {tableEntry("{A}", 0)};
    table.growBeforeFetch = {tableEntry("{B}", 0)};
    keys.add("{A}", "first", "");
    keys.add("{B}", "second", "");
    EXPECT_EQ(inventory.enumerate(), 1);
    EXPECT_EQ(table.fetches, 2);
    EXPECT_EQ(connectionNames(), (std::vector<std::string>{"first", "second"}));
}

TEST_F(AdapterInventoryTest, TableThatCannotBeReadCountsAsNoAdapter) {
    table.entries = {tableEntry("{A}", 0)};
    keys.add("{A}", "first", "");
    table.failFetch = true;
    EXPECT_EQ(inventory.enumerate(), 0);
    EXPECT_TRUE(inventory.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "어댑터 검색 실패");
}

TEST_F(AdapterInventoryTest, TableThatNeverSettlesGivesUpAfterBoundedAttempts) {
    table.entries = {tableEntry("{A}", 0)};
    for (int i = 0; i < 20; ++i) {
        table.growBeforeFetch.push_back(tableEntry("{more}", 0));
    }
    EXPECT_EQ(inventory.enumerate(), 0);
    EXPECT_EQ(table.fetches, AdapterInventory::kMaxFetchAttempts);
    EXPECT_TRUE(inventory.empty());
}

class InventorySelection : public AdapterInventoryTest {
protected:
    void SetUp() override {
        table.entries = {tableEntry("{1}", 0), tableEntry("{2}", 0), tableEntry("{3}", 0)};
        keys.add("{1}", "eth0", "");
        keys.add("{2}", "wlan0", "");
        keys.add("{3}", "wlan0", "");
        ASSERT_EQ(inventory.enumerate(), 1);
    }

    std::vector<int> marks() const {
        std::vector<int> result;
        for (const auto& record : inventory.records()) {
            result.push_back(record.selected);
        }
        return result;
    }
};

TEST_F(InventorySelection, MarksTheFirstRecordWithTheSelectedName) {
    inventory.setSelectedName("wlan0");
    inventory.markSelected();
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 0}));
    ASSERT_NE(inventory.selectedRecord(), nullptr);
    EXPECT_EQ(inventory.selectedRecord()->adapterId, "{2}");
}

TEST_F(InventorySelection, UnknownNameMarksTheFirstRecordAndIsKept) {
    inventory.setSelectedName("WLAN0");  // names compare exactly
    inventory.markSelected();
    EXPECT_EQ(marks(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(inventory.selectedName(), "WLAN0");
}

TEST_F(InventorySelection, ClearSelectionAndSelectFirst) {
    inventory.setSelectedName("wlan0");
    inventory.markSelected();
    EXPECT_EQ(inventory.clearSelection(), 1);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(inventory.selectedRecord(), nullptr);
    EXPECT_EQ(inventory.selectFirst(), 1);
    EXPECT_EQ(inventory.selectedName(), "eth0");
}

TEST_F(InventorySelection, ReEnumerationKeepsTheChoice) {
    inventory.setSelectedName("wlan0");
    inventory.markSelected();
    inventory.clear();
    EXPECT_TRUE(inventory.empty());
    EXPECT_EQ(inventory.selectedRecord(), nullptr);
    inventory.markSelected();  // nothing to mark in an empty inventory
    inventory.selectFirst();
    EXPECT_EQ(inventory.selectedName(), "wlan0");

    table.entries.erase(table.entries.begin());
    ASSERT_EQ(inventory.enumerate(), 1);
    inventory.markSelected();
    EXPECT_EQ(inventory.selectedRecord()->adapterId, "{2}");
}

}  // namespace
}  // namespace quorrel
