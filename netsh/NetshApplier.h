#pragma once

#include <string>

#include "netsh/CommandRunner.h"
#include "netsh/DhcpClient.h"
#include "netsh/DnsConfigurator.h"
#include "netsh/NetshCommand.h"

namespace quorrel::netsh {

// Carries out a validated command and records the interface's new state:
//   set address static   stop our DHCP client of the interface, bring the link up, put
//                        the address in place of all its IPv4 addresses, replace its
//                        default routes by the one via the gateway (with the metric)
//   set address dhcp     clear the interface and start a DHCP client, waiting for a lease
//   set dns static       the one server (or none) becomes the interface's DNS server list
//   set dns dhcp         the DNS servers of the current lease, now and at every renewal
//   add dns              inserts a server into the hand-set list at `index` (1 = first)
// Returns "" once the change is in effect, else what went wrong.
class NetshApplier {
public:
    NetshApplier(CommandRunner& runner, DhcpClient& dhcp, DnsConfigurator& dns,
                 std::string stateFolder)
        : runner_(runner), dhcp_(dhcp), dns_(dns), folder_(std::move(stateFolder)) {}

    std::string apply(const NetshCommand& command);

private:
    std::string setStaticAddress(const NetshCommand& command);
    std::string setDhcpAddress(const NetshCommand& command);
    std::string setDns(const NetshCommand& command);
    std::string addDns(const NetshCommand& command);

    CommandRunner& runner_;
    DhcpClient& dhcp_;
    DnsConfigurator& dns_;
    std::string folder_;
};

}  // namespace quorrel::netsh
