#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace quorrel::platform {

// What tells one network from another where an adapter is plugged in: the link address of
// its default gateway ("00:11:22:AA:BB:CC", upper-case hex) and, on a wireless link that
// NetworkManager manages, the network's name. Either may be empty.
struct NetworkFingerprint {
    std::string gatewayMac;
    std::string wifiName;

    bool empty() const { return gatewayMac.empty() && wifiName.empty(); }
    bool operator==(const NetworkFingerprint&) const = default;
};

// Looks at the network an adapter is on, as the user and without changing anything.
class NetworkSensor {
public:
    virtual ~NetworkSensor() = default;

    // The fingerprint of the network behind the adapter `connectionName`: the gateway's link
    // address from the neighbour table, asking the gateway (ARP) when the table holds none,
    // for at most `limit`. Empty when the adapter has no gateway or nothing answered.
    virtual NetworkFingerprint look(const std::string& connectionName,
                                    std::chrono::milliseconds limit) = 0;
};

std::unique_ptr<NetworkSensor> makeSystemNetworkSensor();

}  // namespace quorrel::platform
