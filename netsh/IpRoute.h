#pragma once

#include <optional>
#include <string>

#include "base/Expected.h"
#include "netsh/CommandRunner.h"
#include "netsh/InterfaceAddressing.h"

namespace quorrel::netsh {

// The IPv4 changes netsh makes, as iproute2 commands. A failed operation says what went
// wrong (with ip's own message). Where the runner reads the kernel itself
// (CommandRunner::kernelAddressing), the interface's addressing is read so, and a step with
// nothing to do (bringing up a link that is up, removing addresses or default routes that
// are not there) starts no command. Where it changes the kernel itself
// (CommandRunner::setAddress, appendDefaultRoute), a new address and a new default route
// are set without a command too.
class IpRoute {
public:
    explicit IpRoute(CommandRunner& runner) : runner_(runner) {}

    Done bringUp(const std::string& ifname);
    // Removes every IPv4 address of the interface (and with them its subnet routes).
    Done flushAddresses(const std::string& ifname);
    Done addAddress(const std::string& ifname, const std::string& address, int prefix);
    // Adds the address or refreshes it when the interface already has it.
    Done replaceAddress(const std::string& ifname, const std::string& address, int prefix);
    // Removes every IPv4 default route through the interface, whatever its metric.
    Done removeDefaultRoutes(const std::string& ifname);
    // Adds a default route through the interface beside those of other interfaces; a
    // metric below 0 leaves it to the kernel.
    Done addDefaultRoute(const std::string& ifname, const std::string& gateway, int metric);

    // What the interface has now. Changes nothing.
    Expected<InterfaceAddressing> readAddressing(const std::string& ifname);
    // Makes the interface's addresses and default routes exactly `addressing` (when they
    // are not already), going on past a failing step; the failure names every step that
    // failed.
    Done putBackAddressing(const std::string& ifname, const InterfaceAddressing& addressing);

private:
    Done run(const std::vector<std::string>& argv, const std::string& what);
    // The outcome of a change the runner made without a command.
    static Done changed(const std::optional<Done>& made, const std::string& what);
    Done addAddress(const std::string& ifname, const AddressEntry& entry);
    Done addDefaultRoute(const std::string& ifname, const DefaultRouteEntry& entry);

    CommandRunner& runner_;
};

}  // namespace quorrel::netsh
