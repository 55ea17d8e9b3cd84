#include "adapters/AdapterChoice.h"

#include <algorithm>

#include "adapters/LabelPadding.h"
#include "resources/AdapterTexts.h"

namespace quorrel {

namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool listBoxOrder(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto left = static_cast<unsigned char>(foldAscii(a[i]));
        const auto right = static_cast<unsigned char>(foldAscii(b[i]));
        if (left != right) {
            return left < right;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

int findEntryIgnoringCase(const std::vector<std::string>& entries, std::string_view text,
                          int startAfter) {
    const int count = static_cast<int>(entries.size());
    if (count == 0) {
        return -1;
    }
    int first = startAfter + 1;
    if (first < 0 || first >= count) {
        first = 0;
    }
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        if (equalIgnoringAsciiCase(entries[static_cast<std::size_t>(index)], text)) {
            return index;
        }
    }
    return -1;
}

const AdapterInfo* findAdapterByName(const AdapterInventory& inventory,
                                     std::string_view connectionName) {
    for (const AdapterInfo& record : inventory.records()) {
        if (record.connectionName == connectionName) {
            return &record;
        }
    }
    return nullptr;
}

std::array<std::string, kDetailRows> adapterDetailLabels() {
    return {paddedLabel(texts::kDetailAdapter),      paddedLabel(texts::kDetailMacAddress),
            paddedLabel(texts::kDetailIpAddress),    paddedLabel(texts::kDetailSubnetMask),
            paddedLabel(texts::kDetailGateway),      paddedLabel(texts::kDetailPrimaryDns),
            paddedLabel(texts::kDetailSecondaryDns), paddedLabel(texts::kDetailDhcp)};
}

std::array<std::string, kDetailRows> adapterDetailValues(const AdapterInfo& adapter) {
    return {adapter.connectionName, adapter.macAddress,
            adapter.ipAddress,      adapter.subnetMask,
            adapter.gateway,        adapter.primaryDns,
            adapter.secondaryDns,   adapter.dhcpEnabled == 1 ? texts::kDhcpOn : texts::kDhcpOff};
}

void confirmAdapterChoice(AdapterInventory& inventory, Settings& settings,
                          const std::string& connectionName, bool remember) {
    if (remember) {
        settings.storeAdapterChoice(connectionName);
    }
    inventory.clearSelection();
    inventory.setSelectedName(connectionName);
    inventory.markSelected();
}

}  // namespace quorrel
