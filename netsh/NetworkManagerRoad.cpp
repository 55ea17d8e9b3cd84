#include "netsh/NetworkManagerRoad.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "base/NameUuid.h"
#include "netsh/CommandValidator.h"
#include "netsh/DirectRoad.h"
#include "netsh/Ipv4.h"
#include "netsh/MessageQuote.h"

namespace quorrel::netsh {

using platform::NmAddress;
using platform::NmIpv4Settings;
using platform::NmIpv4State;

namespace {

std::string seconds(std::chrono::milliseconds wait) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(wait.count()) / 1000.0);
    return text;
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text.empty() ? "none" : text;
}

// What the device shows, for a message about a change it did not take.
std::string describeState(const NmIpv4State& state) {
    std::string addresses;
    for (const auto& a : state.addresses) {
        addresses += (addresses.empty() ? "" : ", ") + a.address + "/" + std::to_string(a.prefix);
    }
    return "device state " + std::to_string(state.state) + ", addresses " +
           (addresses.empty() ? "none" : addresses) + ", gateway " +
           (state.gateway.empty() ? "none" : state.gateway) + ", DNS servers " +
           joined(state.nameservers);
}

}  // namespace

std::string ownConnectionName(const std::string& ifname) {
    return "Quorrel " + ifname;
}

std::string ownConnectionUuid(const std::string& ifname) {
    return nameBasedUuid("quorrel netsh connection " + ifname);
}

Expected<NmIpv4Settings> settingsAfter(const NetshCommand& command, const NmIpv4Settings& before) {
    NmIpv4Settings after = before;
    const std::string& ifname = command.interfaceName;
    switch (command.action) {
        case NetshAction::SetAddress:
            after.addresses.clear();
            after.gateway.clear();
            after.routeMetric = -1;
            if (command.dhcp) {
                after.method = "auto";
                return after;
            }
            after.method = "manual";
            after.addresses.push_back(
                {command.address,
                 prefixLengthOf(parseIpv4(command.mask).value_or(0xffffffffu)).value_or(32)});
            after.gateway = command.gateway;
            if (!command.gateway.empty() && command.gatewayMetric) {
                after.routeMetric = *command.gatewayMetric;
            }
            return after;
        case NetshAction::SetDns:
            if (command.dhcp) {
                // As on the direct road: DNS servers come from DHCP only with the address.
                if (before.method != "auto") {
                    return failure("the address of " + ifname +
                                   " is fixed, so its DNS servers cannot come from DHCP");
                }
                after.dns.clear();
                after.ignoreAutoDns = false;
                return after;
            }
            after.dns.clear();
            if (!command.address.empty()) {
                after.dns.push_back(command.address);
            }
            after.ignoreAutoDns = true;
            return after;
        case NetshAction::AddDns: {
            const auto index = static_cast<std::size_t>(command.index.value_or(999));
            // With automatic DNS the hand-set list starts anew.
            const bool handSet = before.ignoreAutoDns || before.method != "auto";
            std::vector<std::string> servers = handSet ? before.dns : std::vector<std::string>{};
            servers.erase(std::remove(servers.begin(), servers.end(), command.address),
                          servers.end());
            const std::size_t position = std::min(servers.size(), index - 1);
            servers.insert(servers.begin() + static_cast<std::ptrdiff_t>(position),
                           command.address);
            after.dns = servers;
            after.ignoreAutoDns = true;
            return after;
        }
    }
    return failure("unknown command");
}

bool deviceHasApplied(const NetshCommand& command, const NmIpv4Settings& wanted,
                      const NmIpv4State& state) {
    if (state.state != platform::kNmDeviceActivated) {
        return false;
    }
    if (command.action == NetshAction::SetAddress) {
        if (command.dhcp) {
            return state.dhcp && !state.leaseAddress.empty() &&
                   std::any_of(state.addresses.begin(), state.addresses.end(),
                               [&](const NmAddress& a) { return a.address == state.leaseAddress; });
        }
        return !state.dhcp && state.addresses == wanted.addresses &&
               state.gateway == wanted.gateway;
    }
    std::vector<std::string> expected = wanted.dns;
    if (!wanted.ignoreAutoDns && state.dhcp) {
        for (const auto& server : state.leaseNameservers) {
            if (std::find(expected.begin(), expected.end(), server) == expected.end()) {
                expected.push_back(server);
            }
        }
    }
    return state.nameservers == expected;
}

Done NetworkManagerRoad::carryOut(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    std::string connection = device_.connection;
    std::string name = device_.connectionName;
    if (connection.empty()) {
        if (device_.type != platform::kNmDeviceEthernet &&
            device_.type != platform::kNmDeviceVeth) {
            return failure("NetworkManager manages " + ifname +
                           " but has no connection active on it; connect it to a network in "
                           "NetworkManager first; nothing was changed");
        }
        connection = nm_.findConnection(ownConnectionUuid(ifname));
        name = ownConnectionName(ifname);
    }
    const std::string quoted = quoteForMessage(name, 60);

    NmIpv4Settings before;
    if (!connection.empty()) {
        const Expected<NmIpv4Settings> settings = nm_.connectionIpv4(connection);
        if (!settings) {
            return failure("cannot read NetworkManager's connection " + quoted + " of " + ifname +
                           ": " + settings.error() + "; nothing was changed");
        }
        before = *settings;
    }
    const Expected<NmIpv4Settings> after = settingsAfter(command, before);
    if (!after) {
        return failure(after.error() + "; nothing was changed");
    }
    const NmIpv4Settings& wanted = *after;

    bool created = false;
    if (connection.empty()) {
        platform::NmNewConnection fresh{name, ownConnectionUuid(ifname), ifname, wanted};
        const Expected<std::string> added = nm_.addConnection(fresh);
        if (!added) {
            return failure("NetworkManager refused to add the connection " + quoted + " for " +
                           ifname + ": " + added.error() + "; nothing was changed");
        }
        connection = *added;
        created = true;
    } else if (wanted != before) {
        if (const Done updated = nm_.updateIpv4(connection, wanted); !updated) {
            return failure("NetworkManager refused to change its connection " + quoted + " of " +
                           ifname + ": " + updated.error() + "; nothing was changed");
        }
    }

    // A fixed address is reapplied while the connection is active, so that the link stays
    // up. Under DHCP a reapply restarts the lease, and NetworkManager 1.42 then drops every
    // other change of the DNS servers it was given; activating the connection again is
    // what applies them reliably.
    const bool active =
        !device_.connection.empty() && device_.state == platform::kNmDeviceActivated;
    const bool reapply = active && wanted.method == "manual";
    const Done applied =
        reapply ? nm_.reapply(device_.path) : nm_.activate(connection, device_.path);
    if (!applied) {
        std::string message = "NetworkManager refused to apply its connection " + quoted + " to " +
                              ifname + ": " + applied.error();
        Done putBack;
        if (created) {
            putBack = nm_.removeConnection(connection);
        } else if (wanted != before) {
            putBack = nm_.updateIpv4(connection, before);
        }
        if (created || wanted != before) {
            message += putBack ? "; the connection's earlier settings were put back"
                               : "; putting back the connection's earlier settings failed: " +
                                     putBack.error();
        } else {
            message += "; nothing was changed";
        }
        return failure(message);
    }
    return waitUntilApplied(command, wanted, quoted);
}

Done NetworkManagerRoad::waitUntilApplied(const NetshCommand& command, const NmIpv4Settings& wanted,
                                          const std::string& connectionName) {
    const bool lease = command.action == NetshAction::SetAddress && command.dhcp;
    const std::chrono::milliseconds wait = lease ? timing_.leaseWait : timing_.applyWait;
    const auto deadline = timing_.now() + wait;
    NmIpv4State last;
    // The words of the last look that failed.
    std::string error;
    for (;;) {
        if (const Expected<NmIpv4State> state = nm_.ipv4State(device_.path)) {
            if (deviceHasApplied(command, wanted, *state)) {
                return {};
            }
            last = *state;
        } else {
            error = state.error();
        }
        if (last.state == platform::kNmDeviceFailed) {
            return failure("NetworkManager could not activate its connection " + connectionName +
                           " on " + command.interfaceName + " (" + describeState(last) +
                           "); the connection keeps the new settings");
        }
        if (timing_.now() >= deadline) {
            break;
        }
        if (timing_.pause) {
            timing_.pause(timing_.pollPeriod);
        } else {
            std::this_thread::sleep_for(timing_.pollPeriod);
        }
    }
    if (lease) {
        return failure("no DHCP lease for " + command.interfaceName + " within " + seconds(wait) +
                       "; NetworkManager keeps trying");
    }
    return failure("NetworkManager has not applied " +
                   quoteForMessage(describeCommand(command), 80) + " to " + command.interfaceName +
                   " within " + seconds(wait) + " (" + describeState(last) +
                   (error.empty() ? "" : "; " + error) + ")");
}

}  // namespace quorrel::netsh
