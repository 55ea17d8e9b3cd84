#include "netsh/NetshApplier.h"

#include <algorithm>

#include "netsh/CommandValidator.h"
#include "netsh/IpRoute.h"
#include "netsh/Ipv4.h"
#include "netsh/StateUpdate.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

using platform::InterfaceState;

std::string NetshApplier::apply(const NetshCommand& command) {
    switch (command.action) {
        case NetshAction::SetAddress:
            return command.dhcp ? setDhcpAddress(command) : setStaticAddress(command);
        case NetshAction::SetDns:
            return setDns(command);
        case NetshAction::AddDns:
            return addDns(command);
    }
    return "unknown command";
}

std::string NetshApplier::setStaticAddress(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    const auto mask = parseIpv4(command.mask);
    const auto prefix = mask ? prefixLengthOf(*mask) : std::nullopt;
    if (!prefix) {
        return "\"" + command.mask + "\" is not a valid subnet mask";
    }
    // The DHCP client would otherwise put its lease back over the new address.
    if (auto error = dhcp_.stop(ifname); !error.empty()) {
        return error;
    }
    IpRoute ip(runner_);
    std::string error = ip.bringUp(ifname);
    if (error.empty()) {
        error = ip.flushAddresses(ifname);
    }
    if (error.empty()) {
        error = ip.addAddress(ifname, command.address, *prefix);
    }
    if (error.empty()) {
        error = ip.removeDefaultRoutes(ifname);
    }
    if (error.empty() && !command.gateway.empty()) {
        const int metric = command.gatewayMetric
                               ? parseBoundedNumber(*command.gatewayMetric, 0, 9999).value_or(-1)
                               : -1;
        error = ip.addDefaultRoute(ifname, command.gateway, metric);
    }
    if (!error.empty()) {
        return error;
    }
    return updateInterfaceState(folder_, ifname, [](InterfaceState& state) {
        state.dhcp = false;
        state.lease.reset();
    });
}

std::string NetshApplier::setDhcpAddress(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    if (auto error = dhcp_.stop(ifname); !error.empty()) {
        return error;
    }
    IpRoute ip(runner_);
    std::string error = ip.bringUp(ifname);
    if (error.empty()) {
        error = ip.flushAddresses(ifname);
    }
    if (error.empty()) {
        error = ip.removeDefaultRoutes(ifname);
    }
    if (!error.empty()) {
        return error;
    }
    // Recorded before the client starts: its event script only acts on an interface whose
    // address comes from DHCP, and the wait ends when the script has recorded the lease.
    error = updateInterfaceState(folder_, ifname, [](InterfaceState& state) {
        state.dhcp = true;
        state.lease.reset();
    });
    if (!error.empty()) {
        return error;
    }
    return dhcp_.start(ifname);
}

std::string NetshApplier::setDns(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    std::vector<std::string> servers;
    if (command.dhcp) {
        const auto state = platform::readInterfaceState(folder_, ifname);
        if (state && state->lease) {
            servers = state->lease->dnsServers;
        }
    } else if (!command.address.empty()) {
        servers.push_back(command.address);
    }
    if (auto error = dns_.apply(ifname, servers); !error.empty()) {
        return error;
    }
    const bool automatic = command.dhcp;
    return updateInterfaceState(folder_, ifname, [&](InterfaceState& state) {
        state.dnsAuto = automatic;
        state.dnsServers = automatic ? std::vector<std::string>{} : servers;
    });
}

std::string NetshApplier::addDns(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    const auto state = platform::readInterfaceState(folder_, ifname);
    std::vector<std::string> servers;
    if (state && !state->dnsAuto.value_or(false)) {
        servers = state->dnsServers;
    }
    if (std::find(servers.begin(), servers.end(), command.address) != servers.end()) {
        return "the DNS server " + command.address + " is already in the list of " + ifname;
    }
    std::size_t position = servers.size();
    if (command.index) {
        const auto index = parseBoundedNumber(*command.index, 1, 999);
        if (!index) {
            return "the index must be a number from 1 to 999";
        }
        position = std::min(position, static_cast<std::size_t>(*index - 1));
    }
    servers.insert(servers.begin() + static_cast<std::ptrdiff_t>(position), command.address);
    if (auto error = dns_.apply(ifname, servers); !error.empty()) {
        return error;
    }
    return updateInterfaceState(folder_, ifname, [&](InterfaceState& stored) {
        stored.dnsAuto = false;
        stored.dnsServers = servers;
    });
}

}  // namespace quorrel::netsh
