#include "adapters/AdapterInventory.h"

#include <cstdio>

#include "resources/AdapterTexts.h"

namespace quorrel {

namespace {

// Buffer size, terminating zero included, for the two values read from the keys.
constexpr std::size_t kValueBufferSize = 255;

// The platform reports at most this many hardware address bytes.
constexpr std::size_t kMaxAddressBytes = 8;

}  // namespace

std::string formatMacAddress(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    const std::size_t count = bytes.size() < kMaxAddressBytes ? bytes.size() : kMaxAddressBytes;
    for (std::size_t i = 0; i < count; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(bytes[i]));
        if (i != 0) {
            text += ':';
        }
        text += pair;
    }
    return text;
}

AdapterInventory::AdapterInventory(platform::AdapterTable& table, platform::AdapterKeys& keys,
                                   MessagePresenter& messages)
    : table_(table), keys_(keys), messages_(messages) {}

void AdapterInventory::reportNoAdapter() {
    messages_.show(Message{texts::kNoAdapterText, texts::kNoAdapterCaption,
                           MessageIcon::Information, MessageButtons::Ok});
}

// The table is read in two calls. When it grows in between, the second call reports the
// new size and the table is fetched again with that size; a table that cannot be read at
// all counts as no adapter, and no entry of an unfilled buffer is ever looked at.
bool AdapterInventory::fetchTable(std::vector<platform::AdapterTableEntry>& entries) {
    std::size_t size = table_.probeSize();
    for (int attempt = 0; size != 0 && attempt < kMaxFetchAttempts; ++attempt) {
        entries.clear();
        switch (table_.fetch(size, entries)) {
            case platform::AdapterFetch::Ok:
                return !entries.empty();
            case platform::AdapterFetch::BufferTooSmall:
                entries.clear();
                continue;
            case platform::AdapterFetch::Failed:
                entries.clear();
                return false;
        }
    }
    entries.clear();
    return false;
}

void AdapterInventory::readNameServer(platform::AdapterKey& key, AdapterInfo& record) {
    std::string servers;
    if (!key.readString(platform::kNameServerValue, kValueBufferSize, servers)) {
        return;
    }
    const std::size_t comma = servers.find(',');
    if (comma == std::string::npos) {
        record.primaryDns = servers;
    } else {
        record.primaryDns = servers.substr(0, comma);
        record.secondaryDns = servers.substr(comma + 1);
    }
}

int AdapterInventory::enumerate() {
    std::vector<platform::AdapterTableEntry> entries;
    if (!fetchTable(entries)) {
        reportNoAdapter();
        return 0;
    }

    for (const auto& entry : entries) {
        const auto connectionKey = keys_.openConnectionKey(entry.adapterId);
        if (!connectionKey) {
            messages_.show(standardMessage(texts::kConnectionKeyOpenFailed));
            continue;
        }

        AdapterInfo record;
        std::string name;
        if (connectionKey->readString(platform::kConnectionNameValue, kValueBufferSize, name)) {
            record.connectionName = name;
        }
        record.adapterId = entry.adapterId;
        record.macAddress = formatMacAddress(entry.address);
        record.dhcpEnabled = entry.dhcpEnabled == 1 ? 1 : 0;
        record.subnetMask = entry.subnetMask;
        record.ipAddress = entry.ipAddress;
        record.gateway = entry.gateway;

        if (const auto interfaceKey = keys_.openInterfaceKey(entry.adapterId)) {
            readNameServer(*interfaceKey, record);
            record.dnsAuto =
                record.dhcpEnabled == 1 && record.primaryDns.empty() && record.secondaryDns.empty()
                    ? 1
                    : 0;
        } else {
            messages_.show(standardMessage(texts::kInterfaceKeyOpenFailed));
        }

        records_.push_back(std::move(record));
    }
    return 1;
}

void AdapterInventory::clear() {
    records_.clear();
}

int AdapterInventory::clearSelection() {
    for (auto& record : records_) {
        record.selected = 0;
    }
    return 1;
}

void AdapterInventory::markSelected() {
    clearSelection();
    if (records_.empty()) {
        return;
    }
    for (auto& record : records_) {
        if (record.connectionName == selectedName_) {
            record.selected = 1;
            return;
        }
    }
    records_.front().selected = 1;
}

int AdapterInventory::selectFirst() {
    if (!records_.empty()) {
        selectedName_ = records_.front().connectionName;
    }
    return 1;
}

const AdapterInfo* AdapterInventory::selectedRecord() const {
    for (const auto& record : records_) {
        if (record.selected == 1) {
            return &record;
        }
    }
    return nullptr;
}

}  // namespace quorrel
