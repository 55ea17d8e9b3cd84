// What NetworkManager has applied to an interface, as the adapter source reads it.
#include "platform/linux/NetworkManager.h"

namespace quorrel::platform {

std::optional<ManagedInterfaceConfig> networkManagerConfig(NetworkManager& nm,
                                                           const std::string& ifname) {
    std::string error;
    const auto device = nm.device(ifname, error);
    if (!device || !device->managed || device->state == kNmDeviceUnmanaged ||
        device->connection.empty()) {
        return std::nullopt;
    }
    const auto ipv4 = nm.appliedIpv4(device->path, error);
    if (!ipv4) {
        return std::nullopt;
    }
    ManagedInterfaceConfig config;
    config.dhcp = ipv4->method == "auto";
    config.dnsServers = ipv4->dns;
    return config;
}

std::optional<ManagedInterfaceConfig> networkManagerConfig(const std::string& ifname) {
    std::string why;
    const auto nm = connectNetworkManager(true, why);
    return nm ? networkManagerConfig(*nm, ifname) : std::nullopt;
}

}  // namespace quorrel::platform
