#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace quorrel::netsh {

// The fixed places of a netsh that runs with rights.
inline constexpr const char* kFixedStateFolder = "/var/lib/quorrel/netstate";
// The folders searched for ip, the DHCP clients and resolvectl: the system's own, which
// only root can change.
inline constexpr const char* kSystemToolFolders = "/usr/sbin:/usr/bin:/sbin:/bin";

using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

// What a netsh run takes from the environment it was started with.
//
// Run by a user without rights, netsh takes its test overrides: QUORREL_NETSTATE_DIR (the
// state folder), QUORREL_RESOLV_CONF (the resolver file to write instead of the system's
// choice), QUORREL_DHCP_WAIT_MS (how long `set address source=dhcp` waits for a lease, 1 to
// 600000 ms) and PATH (searched for its tools before the system's folders).
//
// With rights (root, pkexec, sudo, a set-user-id or capability-carrying start) it takes
// none of them: whoever started it may not choose the files root writes or the programs
// root runs. The state folder is then kFixedStateFolder, the resolver the system's, the
// lease wait 10 s and the tools come from kSystemToolFolders only.
//
// The build for the tests that run as root inside network namespaces of their own
// (netsh-testing, never installed) takes the overrides with rights as well.
struct RunEnvironment {
    bool withRights = false;
    bool trustsCaller = true;
    std::string stateFolder;                // no trailing separator
    std::optional<std::string> resolvConf;  // nothing: the system's choice
    std::chrono::milliseconds leaseWait{10000};
    std::string toolSearchPath;  // folders separated by ':'
};

RunEnvironment readRunEnvironment(const EnvironmentLookup& env, bool withRights,
                                  bool overridesWithRights);

// Whether this build takes the overrides with rights: false in netsh, true in the test
// build netsh-testing. Defined by the build's own variant file.
bool overridesTakenWithRights();

}  // namespace quorrel::netsh
