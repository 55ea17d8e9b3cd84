#include "platform/linux/LinuxAdapterSource.h"

#include <net/if.h>

namespace quorrel::platform {

namespace {

// The platform reports at most this many link address bytes.
constexpr std::size_t kMaxAddressBytes = 8;

std::vector<const NetlinkLink*> adapterLinks(const NetlinkSnapshot& snapshot) {
    std::vector<const NetlinkLink*> links;
    for (const auto& link : snapshot.links) {
        if ((link.flags & IFF_LOOPBACK) == 0 && !link.name.empty()) {
            links.push_back(&link);
        }
    }
    return links;
}

// A key of an interface that holds one text value.
class InterfaceValueKey final : public AdapterKey {
public:
    InterfaceValueKey(std::string valueName, std::string value)
        : valueName_(std::move(valueName)), value_(std::move(value)) {}

    bool readString(std::string_view valueName, std::size_t bufferSize,
                    std::string& value) override {
        if (valueName != valueName_ || value_.size() + 1 > bufferSize) {
            return false;
        }
        value = value_;
        return true;
    }

private:
    std::string valueName_;
    std::string value_;
};

}  // namespace

LinuxAdapterTable::LinuxAdapterTable(LinuxAdapterPaths paths) : paths_(std::move(paths)) {}

std::size_t LinuxAdapterTable::probeSize() {
    const Expected<NetlinkSnapshot> snapshot = readNetlinkSnapshot();
    if (!snapshot) {
        return 0;
    }
    return adapterLinks(*snapshot).size() * kEntrySize;
}

AdapterFetch LinuxAdapterTable::fetch(std::size_t& size, std::vector<AdapterTableEntry>& entries) {
    entries.clear();
    const Expected<NetlinkSnapshot> read = readNetlinkSnapshot();
    if (!read) {
        return AdapterFetch::Failed;
    }
    const NetlinkSnapshot& snapshot = *read;
    const auto links = adapterLinks(snapshot);
    if (links.size() * kEntrySize > size) {
        size = links.size() * kEntrySize;
        return AdapterFetch::BufferTooSmall;
    }
    DhcpClientProcesses clients(paths_.procRoot);
    for (const NetlinkLink* link : links) {
        AdapterTableEntry entry;
        entry.adapterId = link->name;
        entry.address.assign(link->address.begin(),
                             link->address.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                         link->address.size(), kMaxAddressBytes)));
        entry.dhcpEnabled = linuxInterfaceUsesDhcp(paths_, snapshot, *link, clients) ? 1 : 0;
        if (const NetlinkAddress* address = snapshot.firstAddress(link->index)) {
            entry.ipAddress = dottedAddress(address->address);
            entry.subnetMask = dottedMask(address->prefixLength);
        }
        if (const NetlinkRoute* route = snapshot.firstDefaultRoute(link->index)) {
            entry.gateway = dottedAddress(route->gateway);
        }
        entries.push_back(std::move(entry));
    }
    return AdapterFetch::Ok;
}

LinuxAdapterKeys::LinuxAdapterKeys(LinuxAdapterPaths paths) : paths_(std::move(paths)) {}

std::unique_ptr<AdapterKey> LinuxAdapterKeys::openConnectionKey(const std::string& adapterId) {
    const Expected<NetlinkSnapshot> snapshot = readNetlinkSnapshot();
    if (!snapshot || snapshot->findLink(adapterId) == nullptr) {
        return nullptr;
    }
    return std::make_unique<InterfaceValueKey>(kConnectionNameValue, adapterId);
}

std::unique_ptr<AdapterKey> LinuxAdapterKeys::openInterfaceKey(const std::string& adapterId) {
    const Expected<NetlinkSnapshot> read = readNetlinkSnapshot();
    if (!read) {
        return nullptr;
    }
    const NetlinkSnapshot& snapshot = *read;
    const NetlinkLink* link = snapshot.findLink(adapterId);
    if (link == nullptr) {
        return nullptr;
    }
    const bool dhcp = linuxInterfaceUsesDhcp(paths_, snapshot, *link);
    return std::make_unique<InterfaceValueKey>(kNameServerValue,
                                               linuxNameServerValue(paths_, adapterId, dhcp));
}

std::unique_ptr<AdapterTable> makeSystemAdapterTable() {
    return std::make_unique<LinuxAdapterTable>();
}

std::unique_ptr<AdapterKeys> makeSystemAdapterKeys() {
    return std::make_unique<LinuxAdapterKeys>();
}

}  // namespace quorrel::platform
