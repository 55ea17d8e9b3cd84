#pragma once

#include <string>

namespace quorrel::netsh {

// True when this process may change the network: it runs as root or holds CAP_NET_ADMIN.
bool hasNetworkAdminRights();

// Whether the capability bit of CAP_NET_ADMIN is set in the "CapEff:" line of a
// /proc/<pid>/status text.
bool statusGrantsNetAdmin(const std::string& statusText);

}  // namespace quorrel::netsh
