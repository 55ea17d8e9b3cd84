#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/AdapterKeys.h"
#include "platform/AdapterTable.h"

namespace quorrel::test {

// An adapter table held in memory. Its size is a nominal number of bytes per entry, as the
// system's table is; `growBeforeFetch` adds entries between the size probe and the fetch
// (once per entry, one fetch after another), and `failFetch` makes every fetch fail.
class FakeAdapterTable final : public platform::AdapterTable {
public:
    static constexpr std::size_t kEntrySize = 640;

    std::vector<platform::AdapterTableEntry> entries;
    std::vector<platform::AdapterTableEntry> growBeforeFetch;
    bool failFetch = false;
    int probes = 0;
    int fetches = 0;

    std::size_t probeSize() override {
        ++probes;
        return entries.size() * kEntrySize;
    }

    platform::AdapterFetch fetch(std::size_t& size,
                                 std::vector<platform::AdapterTableEntry>& out) override {
        ++fetches;
        if (failFetch) {
            return platform::AdapterFetch::Failed;
        }
        if (!growBeforeFetch.empty()) {
            entries.push_back(growBeforeFetch.front());
            growBeforeFetch.erase(growBeforeFetch.begin());
        }
        if (entries.size() * kEntrySize > size) {
            size = entries.size() * kEntrySize;
            return platform::AdapterFetch::BufferTooSmall;
        }
        out = entries;
        return platform::AdapterFetch::Ok;
    }
};

// The two per-adapter keys held in memory: per adapter id an optional connection key and
// an optional interface key, each with its values. Reads follow the registry's buffer
// rule (value bytes plus a terminating zero must fit).
class FakeAdapterKeys final : public platform::AdapterKeys {
public:
    using Values = std::map<std::string, std::string>;

    std::map<std::string, Values> connectionKeys;
    std::map<std::string, Values> interfaceKeys;
    int openKeys = 0;  // keys opened and not yet closed

    // An adapter with a connection key holding `name` and an interface key holding
    // `nameServer` (no value at all when none).
    void add(const std::string& id, const std::string& name,
             std::optional<std::string> nameServer = std::nullopt) {
        connectionKeys[id][platform::kConnectionNameValue] = name;
        interfaceKeys[id];
        if (nameServer) {
            interfaceKeys[id][platform::kNameServerValue] = *nameServer;
        }
    }

    std::unique_ptr<platform::AdapterKey> openConnectionKey(const std::string& id) override {
        return open(connectionKeys, id);
    }
    std::unique_ptr<platform::AdapterKey> openInterfaceKey(const std::string& id) override {
        return open(interfaceKeys, id);
    }

private:
    class Key final : public platform::AdapterKey {
    public:
        Key(Values values, int& openKeys) : values_(std::move(values)), openKeys_(openKeys) {
            ++openKeys_;
        }
        ~Key() override { --openKeys_; }

        bool readString(std::string_view name, std::size_t bufferSize,
                        std::string& value) override {
            const auto it = values_.find(std::string(name));
            if (it == values_.end() || it->second.size() + 1 > bufferSize) {
                return false;
            }
            value = it->second;
            return true;
        }

    private:
        Values values_;
        int& openKeys_;
    };

    std::unique_ptr<platform::AdapterKey> open(const std::map<std::string, Values>& keys,
                                               const std::string& id) {
        const auto it = keys.find(id);
        if (it == keys.end()) {
            return nullptr;
        }
        return std::make_unique<Key>(it->second, openKeys);
    }
};

// A table entry with the given id and addresses.
inline platform::AdapterTableEntry tableEntry(std::string id, std::uint32_t dhcp,
                                              std::string ip = {}, std::string mask = {},
                                              std::string gateway = {}) {
    platform::AdapterTableEntry entry;
    entry.adapterId = std::move(id);
    entry.address = {0x00, 0x0C, 0x29, 0xAB, 0xCD, 0xEF};
    entry.dhcpEnabled = dhcp;
    entry.ipAddress = std::move(ip);
    entry.subnetMask = std::move(mask);
    entry.gateway = std::move(gateway);
    return entry;
}

}  // namespace quorrel::test
