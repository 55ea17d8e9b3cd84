#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"
#include "system/linux/OwnedFd.h"

namespace quorrel::platform {

// The kernel's picture of this network namespace, read over one rtnetlink socket: the
// interfaces, their IPv4 addresses and the IPv4 default routes of the main table, each in
// the order the kernel reports them.

struct NetlinkLink {
    int index = 0;
    std::string name;
    unsigned flags = 0;  // IFF_* flags
    std::vector<std::uint8_t> address;
};

struct NetlinkAddress {
    int index = 0;
    std::uint32_t address = 0;  // network byte order
    unsigned prefixLength = 0;
    std::uint32_t flags = 0;                   // IFA_F_* flags
    std::uint32_t validLifetime = 0xFFFFFFFF;  // seconds; 0xFFFFFFFF: forever
    std::optional<std::uint32_t> broadcast;    // network byte order
    bool pointToPoint = false;                 // the kernel names a peer beside the address
};

struct NetlinkRoute {
    int outIndex = 0;
    std::uint32_t gateway = 0;  // network byte order; 0 for a route straight onto the link
    std::optional<std::uint32_t> metric;  // nothing: the kernel's default (0)
    bool onlink = false;
    bool nexthopObject = false;  // the route's next hop is a nexthop object of its own
};

struct NetlinkSnapshot {
    std::vector<NetlinkLink> links;           // sorted by interface index
    std::vector<NetlinkAddress> addresses;    // IPv4 only
    std::vector<NetlinkRoute> defaultRoutes;  // IPv4 0.0.0.0/0 with a gateway, main table
    // Every IPv4 0.0.0.0/0 unicast route of the main table through one interface, with a
    // gateway or without, as `ip -4 route show exact 0.0.0.0/0 dev IF` lists them.
    std::vector<NetlinkRoute> interfaceDefaultRoutes;

    const NetlinkLink* findLink(const std::string& name) const;
    // The interface's first IPv4 address, or nullptr.
    const NetlinkAddress* firstAddress(int index) const;
    // The interface's first default route, or nullptr.
    const NetlinkRoute* firstDefaultRoute(int index) const;
};

// One IPv4 entry of the kernel's neighbour table (the ARP cache).
struct NetlinkNeighbour {
    int index = 0;
    std::uint32_t address = 0;              // network byte order
    std::uint16_t state = 0;                // NUD_* state
    std::vector<std::uint8_t> linkAddress;  // empty while unresolved
};

// Reads the IPv4 neighbour table of the calling thread's network namespace; a failure when
// the kernel cannot be asked.
Expected<std::vector<NetlinkNeighbour>> readNetlinkNeighbours();

// Reads the snapshot of the calling thread's network namespace; a failure when the kernel
// cannot be asked.
Expected<NetlinkSnapshot> readNetlinkSnapshot();

// A netlink socket of the calling thread's network namespace that hears of every change to
// the interfaces and to the IPv4 routes (non-blocking, closed on exec); a failure when the
// kernel cannot be asked. What arrives only says that something changed, a snapshot tells
// what.
Expected<system::OwnedFd> openNetlinkChanges();

// "10.0.0.1" for an address in network byte order.
std::string dottedAddress(std::uint32_t networkOrder);

// "255.255.255.0" for a prefix length of 24.
std::string dottedMask(unsigned prefixLength);

}  // namespace quorrel::platform
