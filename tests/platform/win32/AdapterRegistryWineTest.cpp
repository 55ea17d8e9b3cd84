// The adapter inventory and the settings on the real Windows registry and adapter table.
// These tests write below HKEY_LOCAL_MACHINE, so they run only where the keys they use do
// not exist yet (a fresh wine prefix), and they remove what they created.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "adapters/AdapterInventory.h"
#include "platform/AdapterTable.h"
#include "platform/RegistryAdapterKeys.h"
#include "platform/RegistryStore.h"
#include "profiles/Settings.h"
#include "system/win32/Win32CodePage.h"
#include "tests/support/win32/ScratchRegistryKeys.h"

namespace quorrel {
namespace {

using platform::RegistryAdapterKeys;

// The raw value as the system holds it: type and bytes.
std::optional<std::pair<DWORD, std::string>> rawValue(const std::string& path,
                                                      const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    BYTE data[1024] = {};
    DWORD size = sizeof data;
    const LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::make_pair(type, std::string(reinterpret_cast<const char*>(data), size));
}

class RecordingPresenter final : public MessagePresenter {
public:
    std::vector<std::string> texts;
    MessageResult show(const Message& message) override {
        texts.push_back(message.text);
        return MessageResult::Ok;
    }
};

TEST(WindowsAdapterInventory, ReadsTheAdapterTableAndTheTwoKeys) {
    const auto table = platform::makeSystemAdapterTable();
    std::size_t size = table->probeSize();
    std::vector<platform::AdapterTableEntry> entries;
    platform::AdapterFetch fetched = platform::AdapterFetch::Failed;
    for (int i = 0; i < 4 && size != 0; ++i) {
        fetched = table->fetch(size, entries);
        if (fetched != platform::AdapterFetch::BufferTooSmall) {
            break;
        }
    }
    if (size == 0 || fetched != platform::AdapterFetch::Ok || entries.empty()) {
        GTEST_SKIP() << "the system reports no network adapter";
    }
    for (const auto& entry : entries) {
        ASSERT_FALSE(entry.adapterId.empty());
        if (test::machineKeyExists(RegistryAdapterKeys::connectionKeyPath(entry.adapterId)) ||
            test::machineKeyExists(RegistryAdapterKeys::interfaceKeyPath(entry.adapterId))) {
            GTEST_SKIP() << "the adapter keys exist already: not a scratch registry";
        }
    }

    const auto store = platform::makeSystemRegistryStore();
    test::ScratchRegistryKeys created;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& id = entries[i].adapterId;
        const std::string name = "로컬 영역 연결 " + std::to_string(i + 1);
        names.push_back(name);
        for (const std::string& path : {RegistryAdapterKeys::connectionKeyPath(id),
                                        RegistryAdapterKeys::interfaceKeyPath(id)}) {
            created.willCreate(path);
            std::unique_ptr<platform::RegistryKey> key;
            ASSERT_EQ(store->createKey(path, key), platform::RegStatus::Ok) << path;
            if (path == RegistryAdapterKeys::connectionKeyPath(id)) {
                ASSERT_EQ(key->setString("Name", name), platform::RegStatus::Ok);
            } else {
                ASSERT_EQ(key->setString("NameServer", "10.0.0.53,10.0.0.54,10.0.0.55"),
                          platform::RegStatus::Ok);
            }
        }
    }
    // Stored in the system's code page, as the system's own tools write it.
    const auto raw = rawValue(RegistryAdapterKeys::connectionKeyPath(entries[0].adapterId), "Name");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->first, static_cast<DWORD>(REG_SZ));

    RegistryAdapterKeys keys(platform::makeSystemRegistryStore());
    RecordingPresenter messages;
    AdapterInventory inventory(*table, keys, messages);
    ASSERT_EQ(inventory.enumerate(), 1);
    EXPECT_TRUE(messages.texts.empty());
    ASSERT_EQ(inventory.records().size(), entries.size());
    std::size_t i = 0;
    for (const AdapterInfo& record : inventory.records()) {
        EXPECT_EQ(record.adapterId, entries[i].adapterId);
        EXPECT_EQ(record.connectionName, names[i]);
        EXPECT_EQ(record.primaryDns, "10.0.0.53");
        EXPECT_EQ(record.secondaryDns, "10.0.0.54,10.0.0.55");
        EXPECT_EQ(record.dnsAuto, 0);
        EXPECT_EQ(record.macAddress, formatMacAddress(entries[i].address));
        EXPECT_EQ(record.ipAddress, entries[i].ipAddress);
        ++i;
    }

    // Without its connection key the first adapter is left out with one message.
    ASSERT_EQ(
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE,
                         RegistryAdapterKeys::connectionKeyPath(entries[0].adapterId).c_str()),
        ERROR_SUCCESS);
    ASSERT_FALSE(
        test::machineKeyExists(RegistryAdapterKeys::connectionKeyPath(entries[0].adapterId)));
    inventory.clear();
    ASSERT_EQ(inventory.enumerate(), 1);
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{"Adapter Local Address 레지스트리 열기 실패"}));
    EXPECT_EQ(inventory.records().size(), entries.size() - 1);
}

TEST(WindowsSettings, RulesHoldOnTheSystemRegistry) {
    const std::string keyPath = "SOFTWARE\\Varnok\\Quorrel";
    if (test::machineKeyExists(keyPath)) {
        GTEST_SKIP() << "the program's key exists already: not a scratch registry";
    }
    test::ScratchRegistryKeys created;
    created.willCreate(keyPath);

    const auto store = platform::makeSystemRegistryStore();
    std::vector<std::string> debug;
    Settings settings(*store, [&](const std::string& line) { debug.push_back(line); });
    InstallFolderDefaults defaults;
    defaults.separator = '\\';
    defaults.promptFolder = [] { return std::string("C:\\Program Files\\Varnok\\Quorrel"); };
    defaults.cancelledFolder = [] { return std::string("C:\\"); };
    int prompts = 0;
    const FolderPrompt prompt = [&](const std::string&, const std::string& initial) {
        ++prompts;
        EXPECT_EQ(initial, "C:\\Program Files\\Varnok\\Quorrel");
        return std::optional<std::string>("D:\\도구");
    };

    std::string remembered = "x";
    EXPECT_FALSE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "");

    EXPECT_EQ(settings.determineInstallFolder(prompt, defaults), "D:\\도구\\");
    const auto path = rawValue(keyPath, "PATH");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->first, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(path->second, system::win32::utf8ToCodePage("D:\\도구") + std::string(1, '\0'));
    EXPECT_EQ(settings.determineInstallFolder(prompt, defaults), "D:\\도구\\");
    EXPECT_EQ(prompts, 1);

    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    const auto autoCheck = rawValue(keyPath, "AutoCheck");
    ASSERT_TRUE(autoCheck.has_value());
    EXPECT_EQ(autoCheck->first, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(autoCheck->second, std::string(4, '\0'));

    settings.storeAdapterChoice("로컬 영역 연결 2");
    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "로컬 영역 연결 2");
    EXPECT_EQ(debug,
              (std::vector<std::string>{"레지스트 Open 에러", "레지스트 AutoCheck 키 생성"}));
}

}  // namespace
}  // namespace quorrel
