#include "netsh/KernelAddressing.h"

#include <net/if.h>

#include "platform/linux/NetlinkSnapshot.h"

namespace quorrel::netsh {

std::optional<KernelAddressing> readKernelAddressing(const std::string& ifname) {
    const Expected<platform::NetlinkSnapshot> read = platform::readNetlinkSnapshot();
    if (!read) {
        return std::nullopt;
    }
    const platform::NetlinkSnapshot& snapshot = *read;
    const platform::NetlinkLink* link = snapshot.findLink(ifname);
    if (link == nullptr) {
        return std::nullopt;
    }
    KernelAddressing kernel;
    kernel.up = (link->flags & IFF_UP) != 0;
    for (const auto& address : snapshot.addresses) {
        if (address.index != link->index) {
            continue;
        }
        kernel.anyAddress = true;
        // Point-to-point addresses are not ours to put back.
        if (address.pointToPoint) {
            continue;
        }
        AddressEntry entry;
        entry.address = platform::dottedAddress(address.address);
        entry.prefix = static_cast<int>(address.prefixLength);
        if (address.broadcast) {
            entry.broadcast = platform::dottedAddress(*address.broadcast);
        }
        kernel.addressing.addresses.push_back(entry);
    }
    for (const auto& route : snapshot.interfaceDefaultRoutes) {
        if (route.outIndex != link->index) {
            continue;
        }
        kernel.anyDefaultRoute = true;
        if (route.nexthopObject || (route.metric && *route.metric > 999999999u)) {
            continue;
        }
        DefaultRouteEntry entry;
        if (route.gateway != 0) {
            entry.gateway = platform::dottedAddress(route.gateway);
        }
        if (route.metric) {
            entry.metric = static_cast<int>(*route.metric);
        }
        entry.onlink = route.onlink;
        kernel.addressing.defaultRoutes.push_back(entry);
    }
    return kernel;
}

}  // namespace quorrel::netsh
