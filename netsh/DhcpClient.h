#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace quorrel::netsh {

// The DHCP client that netsh runs for an interface whose address comes from DHCP.
class DhcpClient {
public:
    virtual ~DhcpClient() = default;
    // Starts a client for the interface and waits until it has a lease. Returns "" once the
    // lease is in place, else what went wrong.
    virtual std::string start(const std::string& ifname) = 0;
    // Stops the client started for the interface, if one runs, and waits until it is gone.
    virtual std::string stop(const std::string& ifname) = 0;
};

// Runs udhcpc (preferred) or dhclient in the background with this very program as its event
// script: the client starts it with QUORREL_DHCP_HOOK=1 in the environment, and it applies
// the lease and records it in the state folder (see DhcpHook.h). `start` waits at most
// `leaseWait` for the lease; the client keeps trying after that.
std::unique_ptr<DhcpClient> makeProcessDhcpClient(std::string stateFolder,
                                                  std::chrono::milliseconds leaseWait);

}  // namespace quorrel::netsh
