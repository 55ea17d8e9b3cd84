#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"
#include "netsh/CommandRunner.h"
#include "netsh/RunEnvironment.h"
#include "netsh/StateKeeper.h"

namespace quorrel::netsh {

// An event of the DHCP client, as it tells its event script. udhcpc passes the event as the
// first argument (deconfig, bound, renew, leasefail, nak) and the lease in the variables
// interface, ip, subnet, router, dns, serverid and lease; dhclient passes it in `reason`
// (PREINIT, BOUND, RENEW, ...) and the lease in interface, new_ip_address,
// new_subnet_mask, new_routers, new_domain_name_servers, new_dhcp_server_identifier and
// new_dhcp_lease_time.
struct DhcpEvent {
    enum class Kind {
        LinkUp,    // the client is about to start on the interface
        Deconfig,  // no lease (any more): the interface has no address
        Bound,     // a new lease
        Renew,     // the lease was renewed, maybe with changed facts
        Ignore,    // nothing to do
    };
    Kind kind = Kind::Ignore;
    std::string interfaceName;
    std::string address;
    std::string mask;
    std::string router;  // the first router of the lease; "" when none
    std::string server;
    std::vector<std::string> dnsServers;
    std::int64_t leaseSeconds = 0;
};

// True when this program was started as the DHCP client's event script: netsh starts the
// client with QUORREL_DHCP_HOOK=1, which the client passes on to its script.
bool isDhcpHookCall(const EnvironmentLookup& env);

// The event from the script's arguments (after the program name) and environment; a
// failure when a lease's address or mask is missing or not valid. DNS servers that are not
// valid addresses are left out.
Expected<DhcpEvent> readDhcpEvent(const std::vector<std::string>& args,
                                  const EnvironmentLookup& env);

// Carries the event out on the interface and records the lease in the state folder, but
// only while the interface's recorded address source is DHCP, so that a client that
// outlived a switch to a fixed address cannot undo it. With automatic DNS the lease's DNS
// servers reach the resolver as the record changes (see StateKeeper). `now` is the time in
// seconds since 1970. A lease that fails the checks of a fixed address (CommandValidator.h)
// is refused before the interface is touched: the reason is recorded as the state's
// refusedLease, which ends a `set address dhcp` waiting for it as a failure, and is the
// failure returned.
Done applyDhcpEvent(const DhcpEvent& event, CommandRunner& runner, StateKeeper& states,
                    std::int64_t now);

}  // namespace quorrel::netsh
