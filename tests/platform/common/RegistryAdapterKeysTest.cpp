#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/AdapterInventory.h"
#include "platform/RegistryAdapterKeys.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"

namespace quorrel {
namespace {

using platform::RegistryAdapterKeys;
using test::tableEntry;

constexpr const char* kGuidA = "{11111111-2222-3333-4444-555555555555}";
constexpr const char* kGuidB = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

class RecordingPresenter final : public MessagePresenter {
public:
    std::vector<std::string> texts;
    MessageResult show(const Message& message) override {
        texts.push_back(message.text);
        return MessageResult::Ok;
    }
};

class RegistryAdapterKeysTest : public ::testing::Test {
protected:
    test::MemoryRegistryStore registry;
    RegistryAdapterKeys keys{registry};
    test::FakeAdapterTable table;
    RecordingPresenter messages;
    AdapterInventory inventory{table, keys, messages};

    void adapter(const std::string& id, const std::string& name, const std::string& servers) {
        registry.putString(RegistryAdapterKeys::connectionKeyPath(id), "Name", name);
        registry.putString(RegistryAdapterKeys::interfaceKeyPath(id), "NameServer", servers);
    }
};

TEST_F(RegistryAdapterKeysTest, KeyPathsOfAnAdapter) {
    EXPECT_EQ(RegistryAdapterKeys::connectionKeyPath(kGuidA),
              "SYSTEM\\CurrentControlSet\\Control\\Network\\"
              "{4D36E972-E325-11CE-BFC1-08002BE10318}\\"
              "{11111111-2222-3333-4444-555555555555}\\Connection");
    EXPECT_EQ(RegistryAdapterKeys::interfaceKeyPath(kGuidA),
              "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\"
              "{11111111-2222-3333-4444-555555555555}");
    // A path that would not fit the system's 1024-byte buffer is not formed at all.
    EXPECT_EQ(RegistryAdapterKeys::interfaceKeyPath(std::string(1000, 'x')), "");
    EXPECT_EQ(keys.openInterfaceKey(std::string(1000, 'x')), nullptr);
}

TEST_F(RegistryAdapterKeysTest, InventoryReadsNamesAndServersFromTheRegistry) {
    table.entries = {tableEntry(kGuidA, 1, "192.168.0.7"), tableEntry(kGuidB, 0, "10.0.0.5")};
    adapter(kGuidA, "로컬 영역 연결", "");
    adapter(kGuidB, "로컬 영역 연결 2", "10.0.0.53,10.0.0.54");

    ASSERT_EQ(inventory.enumerate(), 1);
    ASSERT_EQ(inventory.records().size(), 2u);
    const AdapterInfo& first = inventory.records().front();
    EXPECT_EQ(first.connectionName, "로컬 영역 연결");
    EXPECT_EQ(first.dnsAuto, 1);
    const AdapterInfo& second = inventory.records().back();
    EXPECT_EQ(second.connectionName, "로컬 영역 연결 2");
    EXPECT_EQ(second.primaryDns, "10.0.0.53");
    EXPECT_EQ(second.secondaryDns, "10.0.0.54");
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST_F(RegistryAdapterKeysTest, KeysAreOpenedForReadingSoUsersWithoutAdminRightsSeeAdapters) {
    table.entries = {tableEntry(kGuidA, 0, "10.0.0.5")};
    adapter(kGuidA, "이더넷", "10.0.0.53");
    registry.denyFullAccess(RegistryAdapterKeys::connectionKeyPath(kGuidA));
    registry.denyFullAccess(RegistryAdapterKeys::interfaceKeyPath(kGuidA));

    ASSERT_EQ(inventory.enumerate(), 1);
    ASSERT_EQ(inventory.records().size(), 1u);
    EXPECT_EQ(inventory.records().front().connectionName, "이더넷");
    EXPECT_EQ(inventory.records().front().primaryDns, "10.0.0.53");
    EXPECT_TRUE(messages.texts.empty());
    for (const auto& [path, access] : registry.openLog()) {
        EXPECT_EQ(access, platform::RegAccess::Read) << path;
    }
    EXPECT_EQ(registry.openLog().size(), 2u);
}

TEST_F(RegistryAdapterKeysTest, MissingKeysAndValues) {
    table.entries = {tableEntry(kGuidA, 1), tableEntry(kGuidB, 1)};
    // kGuidA: no connection key at all. kGuidB: a connection key without "Name", an
    // interface key without "NameServer".
    registry.putString(RegistryAdapterKeys::interfaceKeyPath(kGuidA), "NameServer", "1.1.1.1");
    registry.addKey(RegistryAdapterKeys::connectionKeyPath(kGuidB));
    registry.addKey(RegistryAdapterKeys::interfaceKeyPath(kGuidB));

    ASSERT_EQ(inventory.enumerate(), 1);
    ASSERT_EQ(inventory.records().size(), 1u);
    const AdapterInfo& record = inventory.records().front();
    EXPECT_EQ(record.adapterId, kGuidB);
    EXPECT_EQ(record.connectionName, "");
    EXPECT_EQ(record.dnsAuto, 1);
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{"Adapter Local Address 레지스트리 열기 실패"}));
}

TEST_F(RegistryAdapterKeysTest, NameServerOfAnotherTypeCountsAsUnreadable) {
    table.entries = {tableEntry(kGuidA, 1)};
    registry.putString(RegistryAdapterKeys::connectionKeyPath(kGuidA), "Name", "eth");
    registry.putDword(RegistryAdapterKeys::interfaceKeyPath(kGuidA), "NameServer", 7);
    ASSERT_EQ(inventory.enumerate(), 1);
    EXPECT_EQ(inventory.records().front().primaryDns, "");
    EXPECT_EQ(inventory.records().front().dnsAuto, 1);
}

}  // namespace
}  // namespace quorrel
