#pragma once

#include <memory>
#include <string>
#include <vector>

#include "netsh/CommandRunner.h"

namespace quorrel::netsh {

// Where the resolver learns the DNS servers of an interface.
class DnsConfigurator {
public:
    virtual ~DnsConfigurator() = default;
    // Makes `servers` (in order; may be empty) the DNS servers of `ifname`. Returns "" on
    // success, else what went wrong.
    virtual std::string apply(const std::string& ifname,
                              const std::vector<std::string>& servers) = 0;
};

// The servers become the nameserver lines of a resolv.conf file; its other lines stay.
std::unique_ptr<DnsConfigurator> makeResolvConfDns(std::string path);
// The servers are handed to systemd-resolved for the interface (resolvectl dns).
std::unique_ptr<DnsConfigurator> makeResolvectlDns(CommandRunner& runner);

// The one this machine uses: systemd-resolved when /etc/resolv.conf points the resolver at
// its local stub (127.0.0.53) and resolvectl is installed, else /etc/resolv.conf itself.
// $QUORREL_RESOLV_CONF, when set, names the file to write instead and rules out resolved.
std::unique_ptr<DnsConfigurator> makeSystemDnsConfigurator(CommandRunner& runner);

// resolv.conf text with its nameserver lines replaced by `servers`: the new lines stand
// where the first old one stood (at the end when there was none), other lines keep their
// places.
std::string rewriteResolvConf(const std::string& text, const std::vector<std::string>& servers,
                              const std::string& ifname);

// Replaces a file's contents. A file that is a bind mount (as `ip netns exec` makes of
// /etc/resolv.conf) or a symbolic link cannot be renamed over, so it is rewritten in
// place; any other file is replaced atomically.
std::string replaceFileContents(const std::string& path, const std::string& text);

}  // namespace quorrel::netsh
