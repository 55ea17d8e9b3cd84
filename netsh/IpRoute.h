#pragma once

#include <string>

#include "netsh/CommandRunner.h"
#include "netsh/InterfaceAddressing.h"

namespace quorrel::netsh {

// The IPv4 changes netsh makes, as iproute2 commands. Every operation returns "" on
// success, else what went wrong (with ip's own message). Where the runner reads the kernel
// itself (CommandRunner::kernelAddressing), the interface's addressing is read so, and a
// step with nothing to do (bringing up a link that is up, removing addresses or default
// routes that are not there) starts no command.
class IpRoute {
public:
    explicit IpRoute(CommandRunner& runner) : runner_(runner) {}

    std::string bringUp(const std::string& ifname);
    // Removes every IPv4 address of the interface (and with them its subnet routes).
    std::string flushAddresses(const std::string& ifname);
    std::string addAddress(const std::string& ifname, const std::string& address, int prefix);
    // Adds the address or refreshes it when the interface already has it.
    std::string replaceAddress(const std::string& ifname, const std::string& address, int prefix);
    // Removes every IPv4 default route through the interface, whatever its metric.
    std::string removeDefaultRoutes(const std::string& ifname);
    // Adds a default route through the interface beside those of other interfaces; a
    // metric below 0 leaves it to the kernel.
    std::string addDefaultRoute(const std::string& ifname, const std::string& gateway, int metric);

    // What the interface has now. Changes nothing.
    std::string readAddressing(const std::string& ifname, InterfaceAddressing& addressing);
    // Makes the interface's addresses and default routes exactly `addressing` (when they
    // are not already), going on past a failing step; returns what failed.
    std::string putBackAddressing(const std::string& ifname, const InterfaceAddressing& addressing);

private:
    std::string run(const std::vector<std::string>& argv, const std::string& what);
    std::string addAddress(const std::string& ifname, const AddressEntry& entry);
    std::string addDefaultRoute(const std::string& ifname, const DefaultRouteEntry& entry);

    CommandRunner& runner_;
};

}  // namespace quorrel::netsh
