#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"

#include "netsh/CommandRunner.h"

namespace quorrel::netsh {

// The DNS servers of every interface that has some, by interface name (so in a stable
// order), each list in its own order.
using AdapterDnsServers = std::map<std::string, std::vector<std::string>>;

// Where the resolver learns the DNS servers of the interfaces netsh configures.
class DnsConfigurator {
public:
    virtual ~DnsConfigurator() = default;
    // The servers of `changed` have changed (they may now be none); `all` holds the servers
    // of every interface, `changed` included. A failure says what went wrong.
    virtual Done publish(const std::string& changed, const AdapterDnsServers& all) = 0;
};

// resolv.conf: the system's own lines stay as they are, and the servers of every interface
// are written in front of the system's first nameserver line (at the end when it has
// none), each tagged with its interface. The file is reached and changed as ResolverFile.h
// says: links and folders only of root (or of this process's user).
std::unique_ptr<DnsConfigurator> makeResolvConfDns(std::string path);
// systemd-resolved keeps DNS servers per link: only the changed interface's link is set
// (resolvectl dns), the others and the global servers are not touched.
std::unique_ptr<DnsConfigurator> makeResolvectlDns(CommandRunner& runner);

// The one this machine uses: systemd-resolved when /etc/resolv.conf points the resolver at
// its local stub (127.0.0.53) and resolvectl is installed (found in `searchPath`), else
// /etc/resolv.conf itself. `resolvConf`, when given, names the file to write instead and
// rules out resolved (RunEnvironment::resolvConf).
std::unique_ptr<DnsConfigurator> makeSystemDnsConfigurator(
    CommandRunner& runner, const std::optional<std::string>& resolvConf,
    const std::string& searchPath);

// resolv.conf text with netsh's lines replaced by those for `all` (see makeResolvConfDns).
// A server named by two interfaces is written once, for the first.
std::string rewriteResolvConf(const std::string& text, const AdapterDnsServers& all);

}  // namespace quorrel::netsh
