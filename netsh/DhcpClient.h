#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "base/Expected.h"

namespace quorrel::netsh {

// How starting a DHCP client went.
struct DhcpStart {
    Done lease;                // success once the interface has its lease
    bool stillTrying = false;  // with a failure: the client runs on and may get one later
};

// The DHCP client that netsh runs for an interface whose address comes from DHCP.
class DhcpClient {
public:
    virtual ~DhcpClient() = default;
    // Whether a client can be started on this machine, else why not. Changes nothing.
    virtual Done availability() = 0;
    // True while a client that netsh started for the interface runs.
    virtual bool running(const std::string& ifname) = 0;
    // Starts a client for the interface; with `waitForLease`, waits until it has a lease.
    virtual DhcpStart start(const std::string& ifname, bool waitForLease) = 0;
    // Stops the client started for the interface, if one runs, and waits until it is gone.
    virtual Done stop(const std::string& ifname) = 0;
};

// Runs udhcpc (preferred) or dhclient in the background with this very program as its event
// script: the client starts it with QUORREL_DHCP_HOOK=1 in the environment, and it applies
// the lease and records it in the state folder (see DhcpHook.h). `start` waits at most
// `leaseWait` for the lease; the client keeps trying after that. The clients are looked
// for in `searchPath` (see RunEnvironment::toolSearchPath).
std::unique_ptr<DhcpClient> makeProcessDhcpClient(std::string stateFolder,
                                                  std::chrono::milliseconds leaseWait,
                                                  std::string searchPath);

}  // namespace quorrel::netsh
