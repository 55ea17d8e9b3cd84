// The network behind an adapter on Linux: the gateway's link address, asked for afresh over
// ARP where the program may open a packet socket, else from the kernel's neighbour table
// (resolved by the kernel when the table has no confirmed entry) and, for a wireless
// device that NetworkManager manages, the network's name.

#include <linux/neighbour.h>
#include <net/if.h>
#include <sys/stat.h>

#include "platform/NetworkSensor.h"
#include "platform/linux/LinkAddress.h"
#include "platform/linux/LinuxConnectionProbe.h"
#include "platform/linux/LinuxGatewayArp.h"
#include "platform/linux/NetlinkSnapshot.h"
#include "platform/linux/NetworkManager.h"

namespace quorrel::platform {

namespace {

// The gateway's link address as the neighbour table holds it; only entries in
// `acceptedStates` count. "" when there is none.
std::string neighbourAddress(int index, std::uint32_t gateway, unsigned acceptedStates) {
    const Expected<std::vector<NetlinkNeighbour>> neighbours = readNetlinkNeighbours();
    if (!neighbours) {
        return {};
    }
    for (const NetlinkNeighbour& neighbour : *neighbours) {
        if (neighbour.index == index && neighbour.address == gateway &&
            (neighbour.state & acceptedStates) != 0 && !neighbour.linkAddress.empty()) {
            return hexLinkAddress(neighbour.linkAddress.data(), neighbour.linkAddress.size());
        }
    }
    return {};
}

bool isWireless(const std::string& ifname) {
    struct stat info {};
    return ::stat(("/sys/class/net/" + ifname + "/wireless").c_str(), &info) == 0;
}

std::string wifiNameOf(const std::string& ifname) {
    const Expected<std::unique_ptr<NetworkManager>> connected = connectNetworkManager(true);
    if (!connected) {
        return {};
    }
    NetworkManager& nm = **connected;
    const Expected<std::optional<NmDevice>> device = nm.device(ifname);
    if (!device || !*device || !(*device)->managed) {
        return {};
    }
    return nm.wifiName((*device)->path);
}

class LinuxNetworkSensor final : public NetworkSensor {
public:
    NetworkFingerprint look(const std::string& connectionName,
                            std::chrono::milliseconds limit) override {
        NetworkFingerprint seen;
        if (isWireless(connectionName)) {
            seen.wifiName = wifiNameOf(connectionName);
        }
        const Expected<NetlinkSnapshot> read = readNetlinkSnapshot();
        if (!read) {
            return seen;
        }
        const NetlinkSnapshot& snapshot = *read;
        const NetlinkLink* link = snapshot.findLink(connectionName);
        const NetlinkRoute* route =
            link != nullptr ? snapshot.firstDefaultRoute(link->index) : nullptr;
        if (route == nullptr) {
            return seen;
        }
        // Right after the link changed, even a confirmed entry may still be that of the
        // network before; an answer of the gateway itself cannot be.
        if (const NetlinkAddress* own = snapshot.firstAddress(link->index)) {
            if (std::optional<std::string> asked = askGatewayOverArp(
                    link->index, link->address, own->address, route->gateway, limit)) {
                seen.gatewayMac = std::move(*asked);
                return seen;
            }
        }
        // An entry that is not confirmed may still be that of the network before.
        seen.gatewayMac =
            neighbourAddress(link->index, route->gateway, NUD_REACHABLE | NUD_PERMANENT);
        if (seen.gatewayMac.empty()) {
            LinuxConnectionProbe probe;
            if (probe.askGateway(connectionName, dottedAddress(route->gateway), limit).kind ==
                ProbeAnswer::Kind::Answered) {
                seen.gatewayMac = neighbourAddress(
                    link->index, route->gateway,
                    NUD_REACHABLE | NUD_PERMANENT | NUD_DELAY | NUD_PROBE | NUD_STALE);
            }
        }
        return seen;
    }
};

}  // namespace

std::unique_ptr<NetworkSensor> makeSystemNetworkSensor() {
    return std::make_unique<LinuxNetworkSensor>();
}

}  // namespace quorrel::platform
