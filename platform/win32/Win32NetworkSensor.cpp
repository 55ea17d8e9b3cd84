// The Windows build does not look at the network behind an adapter yet: every network reads
// as unknown, so nothing is remembered or recognised there.

#include "platform/NetworkSensor.h"

namespace quorrel::platform {

namespace {

class Win32NetworkSensor final : public NetworkSensor {
public:
    NetworkFingerprint look(const std::string&, std::chrono::milliseconds) override { return {}; }
};

}  // namespace

std::unique_ptr<NetworkSensor> makeSystemNetworkSensor() {
    return std::make_unique<Win32NetworkSensor>();
}

}  // namespace quorrel::platform
