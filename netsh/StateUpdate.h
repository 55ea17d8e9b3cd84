#pragma once

#include <functional>
#include <string>

#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

// Reads the interface's recorded state (empty when none), lets `change` alter it and
// records the result, all under an exclusive lock on "<ifname>.lock" in the state folder,
// so that netsh and its DHCP hook never lose each other's changes. Returns "" on success.
std::string updateInterfaceState(const std::string& folder, const std::string& ifname,
                                 const std::function<void(platform::InterfaceState&)>& change);

}  // namespace quorrel::netsh
