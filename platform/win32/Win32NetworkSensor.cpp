// The network behind an adapter on Windows: the adapter's gateway from its address table,
// and the gateway's link address from SendARP.

#include "platform/ConnectionProbe.h"
#include "platform/NetworkSensor.h"
#include "platform/win32/Win32ConnectionProbe.h"

namespace quorrel::platform {

namespace {

class Win32NetworkSensor final : public NetworkSensor {
public:
    NetworkFingerprint look(const std::string& connectionName,
                            std::chrono::milliseconds limit) override {
        NetworkFingerprint seen;
        const LinkReading link = makeSystemConnectionProbe()->readLink(connectionName);
        if (!link.found || !link.up || link.gateway.empty()) {
            return seen;
        }
        seen.gatewayMac = win32GatewayLinkAddress(link.gateway, limit);
        return seen;
    }
};

}  // namespace

std::unique_ptr<NetworkSensor> makeSystemNetworkSensor() {
    return std::make_unique<Win32NetworkSensor>();
}

}  // namespace quorrel::platform
