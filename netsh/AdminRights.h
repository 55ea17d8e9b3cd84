#pragma once

#include <string>

namespace quorrel::netsh {

// True when this process may change the network: it runs as root or holds CAP_NET_ADMIN.
bool hasNetworkAdminRights();

// True when this process runs with rights its caller may not have: as root (also through
// pkexec or sudo), with CAP_NET_ADMIN, or started set-user-id or with file capabilities.
// Such a run takes nothing from its environment (see RunEnvironment.h).
bool runsWithRights();

// Whether the capability bit of CAP_NET_ADMIN is set in the "CapEff:" line of a
// /proc/<pid>/status text.
bool statusGrantsNetAdmin(const std::string& statusText);

}  // namespace quorrel::netsh
