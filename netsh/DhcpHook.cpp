#include "netsh/DhcpHook.h"

#include <sstream>

#include "netsh/CommandValidator.h"
#include "netsh/IpRoute.h"
#include "netsh/Ipv4.h"
#include "netsh/MessageQuote.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

namespace {

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

std::int64_t seconds(const std::string& text) {
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || value > 100000000000LL) {
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

struct Names {
    const char* address;
    const char* mask;
    const char* routers;
    const char* dns;
    const char* server;
    const char* lease;
};

constexpr Names kUdhcpc{"ip", "subnet", "router", "dns", "serverid", "lease"};
constexpr Names kDhclient{"new_ip_address",
                          "new_subnet_mask",
                          "new_routers",
                          "new_domain_name_servers",
                          "new_dhcp_server_identifier",
                          "new_dhcp_lease_time"};

DhcpEvent::Kind udhcpcKind(const std::string& name) {
    if (name == "deconfig") {
        return DhcpEvent::Kind::Deconfig;
    }
    if (name == "bound") {
        return DhcpEvent::Kind::Bound;
    }
    if (name == "renew") {
        return DhcpEvent::Kind::Renew;
    }
    return DhcpEvent::Kind::Ignore;  // leasefail, nak: the client simply tries again
}

DhcpEvent::Kind dhclientKind(const std::string& reason) {
    if (reason == "PREINIT") {
        return DhcpEvent::Kind::LinkUp;
    }
    if (reason == "BOUND" || reason == "REBOOT") {
        return DhcpEvent::Kind::Bound;
    }
    if (reason == "RENEW" || reason == "REBIND") {
        return DhcpEvent::Kind::Renew;
    }
    if (reason == "EXPIRE" || reason == "FAIL" || reason == "RELEASE" || reason == "STOP") {
        return DhcpEvent::Kind::Deconfig;
    }
    return DhcpEvent::Kind::Ignore;
}

Done firstFailure(std::initializer_list<Done> results) {
    for (const auto& r : results) {
        if (!r) {
            return r;
        }
    }
    return {};
}

}  // namespace

bool isDhcpHookCall(const EnvironmentLookup& env) {
    return env("QUORREL_DHCP_HOOK") == "1";
}

Expected<DhcpEvent> readDhcpEvent(const std::vector<std::string>& args,
                                  const EnvironmentLookup& env) {
    auto value = [&env](const char* name) { return env(name).value_or(""); };
    DhcpEvent event;
    const Names* names = nullptr;
    if (!args.empty()) {
        event.kind = udhcpcKind(args[0]);
        names = &kUdhcpc;
    } else if (const auto reason = env("reason")) {
        event.kind = dhclientKind(*reason);
        names = &kDhclient;
    } else {
        return failure("no DHCP event given");
    }
    event.interfaceName = value("interface");
    if (!platform::isValidInterfaceName(event.interfaceName)) {
        return failure("the DHCP event names no valid interface");
    }
    if (event.kind != DhcpEvent::Kind::Bound && event.kind != DhcpEvent::Kind::Renew) {
        return event;
    }
    event.address = value(names->address);
    event.mask = value(names->mask);
    const auto address = parseIpv4(event.address);
    const auto mask = parseIpv4(event.mask);
    if (!address || !isUnicastHostAddress(*address)) {
        return failure("the lease has no valid address: " + quoteForMessage(event.address));
    }
    if (!mask || !prefixLengthOf(*mask) || *mask == 0) {
        return failure("the lease has no valid subnet mask: " + quoteForMessage(event.mask));
    }
    for (const auto& router : words(value(names->routers))) {
        const auto r = parseIpv4(router);
        if (r && isUnicastHostAddress(*r)) {
            event.router = router;
            break;
        }
    }
    for (const auto& server : words(value(names->dns))) {
        const auto s = parseIpv4(server);
        if (s && *s != 0 && (*s >> 24) < 224) {
            event.dnsServers.push_back(server);
        }
    }
    if (parseIpv4(value(names->server))) {
        event.server = value(names->server);
    }
    event.leaseSeconds = seconds(value(names->lease));
    return event;
}

Done applyDhcpEvent(const DhcpEvent& event, CommandRunner& runner, StateKeeper& states,
                    std::int64_t now) {
    const std::string& ifname = event.interfaceName;
    const auto state = states.read(ifname);
    if (!state || !state->dhcp.value_or(false) || event.kind == DhcpEvent::Kind::Ignore) {
        return {};
    }
    IpRoute ip(runner);
    if (event.kind == DhcpEvent::Kind::LinkUp) {
        return ip.bringUp(ifname);
    }
    if (event.kind == DhcpEvent::Kind::Deconfig) {
        if (Done cleared = firstFailure(
                {ip.bringUp(ifname), ip.flushAddresses(ifname), ip.removeDefaultRoutes(ifname)});
            !cleared) {
            return cleared;
        }
        return states.change(ifname, [](platform::InterfaceState& s) { s.lease.reset(); });
    }

    // A lease is held to the checks of a fixed address: a rogue or broken server must not
    // make the broadcast address the interface's or the network address its gateway.
    if (auto why = checkFixedAddress(event.address, event.mask, event.router); !why.empty()) {
        const std::string reason = "the DHCP lease " + event.address + " mask " + event.mask +
                                   (event.router.empty() ? "" : " router " + event.router) +
                                   (event.server.empty() ? "" : " from " + event.server) + " for " +
                                   ifname + " is refused: " + why;
        if (Done recorded = states.change(ifname,
                                          [&reason](platform::InterfaceState& s) {
                                              if (s.dhcp.value_or(false)) {
                                                  s.refusedLease = reason;
                                              }
                                          });
            !recorded) {
            return failure(reason + "; " + recorded.error());
        }
        return failure(reason);
    }

    const int prefix = prefixLengthOf(*parseIpv4(event.mask)).value_or(32);
    const auto& old = state->lease;
    const bool newAddress = event.kind == DhcpEvent::Kind::Bound || !old ||
                            old->address != event.address || old->mask != event.mask;
    Done set;
    if (newAddress) {
        set = ip.flushAddresses(ifname);
        if (set) {
            set = ip.addAddress(ifname, event.address, prefix);
        }
    } else {
        set = ip.replaceAddress(ifname, event.address, prefix);
    }
    if (set && (newAddress || old->router != event.router)) {
        set = ip.removeDefaultRoutes(ifname);
        if (set && !event.router.empty()) {
            set = ip.addDefaultRoute(ifname, event.router, -1);
        }
    }
    if (!set) {
        return set;
    }

    platform::DhcpLease lease;
    lease.server = event.server;
    lease.address = event.address;
    lease.mask = event.mask;
    lease.router = event.router;
    lease.obtained = now;
    lease.expires = event.leaseSeconds > 0 ? now + event.leaseSeconds : 0;
    lease.dnsServers = event.dnsServers;
    // netsh may have switched the interface to a fixed address since the state was read.
    return states.change(ifname, [&lease](platform::InterfaceState& s) {
        if (s.dhcp.value_or(false)) {
            s.lease = lease;
            s.refusedLease.clear();
        }
    });
}

}  // namespace quorrel::netsh
