#include "ipconfig/PlatformFacts.h"

namespace quorrel::ipconfig {

std::vector<std::string> splitNameServers(const std::string& value) {
    std::vector<std::string> servers;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos) {
            comma = value.size();
        }
        if (comma > start) {
            servers.push_back(value.substr(start, comma - start));
        }
        start = comma + 1;
    }
    return servers;
}

AdapterFacts adapterFactsFrom(const platform::AdapterTableEntry& entry,
                              const InterfaceExtras& extras) {
    AdapterFacts facts;
    facts.connectionName = entry.adapterId;
    facts.kind = extras.kind;
    facts.description = extras.description;
    facts.hardwareAddress = entry.address;
    facts.mediaConnected = extras.mediaConnected;
    facts.dhcpEnabled = entry.dhcpEnabled == 1;
    facts.ipAddress = entry.ipAddress;
    facts.subnetMask = entry.subnetMask;
    facts.gateway = entry.gateway;

    const platform::DhcpLease* lease = nullptr;
    if (facts.dhcpEnabled && extras.state && extras.state->lease) {
        lease = &*extras.state->lease;
        facts.lease = LeaseFacts{lease->server, lease->obtained, lease->expires};
    }

    facts.dnsServers = splitNameServers(extras.nameServerValue);
    if (facts.dnsServers.empty() && facts.dhcpEnabled) {
        if (lease != nullptr && !lease->dnsServers.empty()) {
            facts.dnsServers = lease->dnsServers;
        } else if (!extras.state || !extras.state->dnsAuto) {
            facts.dnsServers = extras.resolverServers;
        }
    }
    return facts;
}

}  // namespace quorrel::ipconfig
