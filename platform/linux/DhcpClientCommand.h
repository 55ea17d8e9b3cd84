#pragma once

#include <string>
#include <vector>

namespace quorrel::platform {

// A process's command line as /proc/<pid>/cmdline holds it (arguments ended by NUL bytes),
// split into its arguments.
std::vector<std::string> commandLineArguments(const std::string& cmdline);

// Where a DHCP client's own arguments start: 2 after "busybox udhcpc", 1 after udhcpc,
// dhclient or dhcpcd; 0 when the command is no DHCP client.
std::size_t dhcpClientArgumentsStart(const std::vector<std::string>& argv);

// Whether one client command line (its arguments) names `ifname` as its interface.
bool dhcpClientCommandNames(const std::vector<std::string>& argv, const std::string& ifname);

}  // namespace quorrel::platform
