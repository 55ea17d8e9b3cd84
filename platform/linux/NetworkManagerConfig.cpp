// What NetworkManager has applied to an interface, as the adapter source reads it.
#include "platform/linux/NetworkManager.h"

namespace quorrel::platform {

std::optional<ManagedInterfaceConfig> networkManagerConfig(NetworkManager& nm,
                                                           const std::string& ifname) {
    const Expected<std::optional<NmDevice>> found = nm.device(ifname);
    if (!found || !*found) {
        return std::nullopt;
    }
    const NmDevice& device = **found;
    if (!device.managed || device.state == kNmDeviceUnmanaged || device.connection.empty()) {
        return std::nullopt;
    }
    const Expected<NmIpv4Settings> ipv4 = nm.appliedIpv4(device.path);
    if (!ipv4) {
        return std::nullopt;
    }
    ManagedInterfaceConfig config;
    config.dhcp = ipv4->method == "auto";
    config.dnsServers = ipv4->dns;
    return config;
}

std::optional<ManagedInterfaceConfig> networkManagerConfig(const std::string& ifname) {
    const auto nm = connectNetworkManager(true);
    return nm ? networkManagerConfig(**nm, ifname) : std::nullopt;
}

}  // namespace quorrel::platform
