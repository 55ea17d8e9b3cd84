#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorrel::netsh {

// The IPv4 addresses and default routes of one interface, as `ip` reports them: what a
// change of the interface's address replaces, and what is put back when the change fails.

struct AddressEntry {
    std::string address;    // dotted
    int prefix = 32;        // 0 to 32
    std::string broadcast;  // dotted; "" when the address has none

    bool operator==(const AddressEntry&) const = default;
};

struct DefaultRouteEntry {
    std::string gateway;        // dotted; "" for a route straight onto the link
    std::optional<int> metric;  // nothing: the kernel's default (0)
    bool onlink = false;

    bool operator==(const DefaultRouteEntry&) const = default;
};

struct InterfaceAddressing {
    std::vector<AddressEntry> addresses;  // in the kernel's order: primaries first
    std::vector<DefaultRouteEntry> defaultRoutes;

    bool operator==(const InterfaceAddressing&) const = default;
};

// The addresses in the output of `ip -4 -o addr show dev IF`. Lines that are not IPv4
// addresses, or whose values are not valid, are left out.
std::vector<AddressEntry> parseAddressList(const std::string& ipOutput);
// The default routes in the output of `ip -4 route show exact 0.0.0.0/0 dev IF`, which
// leaves out the device. Routes with more than one next hop are left out.
std::vector<DefaultRouteEntry> parseDefaultRouteList(const std::string& ipOutput);

// One entry as text and back ("10.0.0.5/24 brd 10.0.0.255"; "via 10.0.0.1 metric 1
// onlink"). Reading is strict: nothing unless every word is valid.
std::string formatAddress(const AddressEntry& entry);
std::optional<AddressEntry> parseAddress(const std::string& text);
std::string formatRoute(const DefaultRouteEntry& entry);
std::optional<DefaultRouteEntry> parseRoute(const std::string& text);

// For messages: "10.0.0.5/24, default route via 10.0.0.1 metric 1", or "no address".
std::string describeAddressing(const InterfaceAddressing& addressing);

}  // namespace quorrel::netsh
