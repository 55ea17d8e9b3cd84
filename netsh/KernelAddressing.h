#pragma once

#include <optional>
#include <string>

#include "netsh/InterfaceAddressing.h"

namespace quorrel::netsh {

// What the kernel shows of one interface, read over netlink in this process: the facts
// that the `ip` commands of a change would otherwise read or act on.
struct KernelAddressing {
    bool up = false;               // the link is switched on (IFF_UP)
    bool anyAddress = false;       // it has an IPv4 address, of whatever kind
    bool anyDefaultRoute = false;  // an IPv4 default route of the main table leads through it
    // The addresses and default routes as `ip -4 -o addr show dev IF` and `ip -4 route show
    // exact 0.0.0.0/0 dev IF` report them, read as parseAddressList and parseDefaultRouteList
    // read those.
    InterfaceAddressing addressing;
};

// Nothing when the interface is not there or the kernel cannot be asked.
std::optional<KernelAddressing> readKernelAddressing(const std::string& ifname);

}  // namespace quorrel::netsh
