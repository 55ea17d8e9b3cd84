// The DHCP client's call of netsh's event script: the first line is the argument list
// (cut at blanks; none when the line is empty), each further line one NAME=value of the
// environment.

#include <map>

#include "netsh/CommandValidator.h"
#include "netsh/DhcpHook.h"
#include "netsh/StateFile.h"
#include "platform/linux/NetworkState.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorrel;
    const auto lines = fuzz::wordsOf(fuzz::textOf(data, size), '\n');
    std::vector<std::string> args;
    if (!lines[0].empty()) {
        args = fuzz::wordsOf(lines[0], ' ');
    }
    std::map<std::string, std::string> variables;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto eq = lines[i].find('=');
        if (eq != std::string::npos) {
            variables[lines[i].substr(0, eq)] = lines[i].substr(eq + 1);
        }
    }
    const netsh::EnvironmentLookup env =
        [&variables](const std::string& name) -> std::optional<std::string> {
        const auto it = variables.find(name);
        return it == variables.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    const auto event = netsh::readDhcpEvent(args, env);
    // A refused event always says why.
    fuzz::require(event.ok() || !event.error().empty());
    if (!event) {
        return 0;
    }
    fuzz::require(platform::isValidInterfaceName(event->interfaceName));
    for (const auto& server : event->dnsServers) {
        fuzz::require(netsh::checkDnsServer(server).empty());
    }
    // A lease that passes the checks is recorded so that its state file reads back the same.
    if ((event->kind == netsh::DhcpEvent::Kind::Bound ||
         event->kind == netsh::DhcpEvent::Kind::Renew) &&
        netsh::checkFixedAddress(event->address, event->mask, event->router).empty()) {
        platform::InterfaceState state;
        state.dhcp = true;
        state.dnsAuto = true;
        platform::DhcpLease lease;
        lease.address = event->address;
        lease.mask = event->mask;
        lease.router = event->router;
        lease.server = event->server;
        lease.dnsServers = event->dnsServers;
        state.lease = lease;
        const auto reread = platform::parseInterfaceState(platform::formatInterfaceState(state));
        fuzz::require(reread == state);
        fuzz::require(static_cast<bool>(netsh::checkStoredAddresses(reread)));
    }
    return 0;
}
