#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ConnectionProbe.h"
#include "platform/linux/LinuxAdapterSource.h"

namespace quorrel::platform {

// The DNS servers `ifname` uses now: those netsh set by hand or took from the DHCP lease,
// as it recorded them; without such a record, the IPv4 servers of the resolver
// configuration, in order (behind the stub of systemd-resolved, the servers it uses).
std::vector<std::string> linuxDnsServersInUse(const LinuxAdapterPaths& paths,
                                              const std::string& ifname);

// The IPv4 "nameserver" addresses of a resolv.conf text, all of them, in order.
std::vector<std::string> resolverServers(const std::string& text);

// askDnsServer with another port than 53, for tests that answer with a server of their own.
ProbeAnswer askDnsServerAt(const std::string& server, std::uint16_t port,
                           std::chrono::milliseconds limit);

// The connection probe on Linux, asked as the user: the kernel's interfaces over netlink;
// a gateway is asked through the kernel's neighbour resolution, which a datagram to it
// starts and whose result netlink shows, and by an echo request where the system allows
// ping sockets to the user (net.ipv4.ping_group_range).
class LinuxConnectionProbe final : public ConnectionProbe {
public:
    explicit LinuxConnectionProbe(LinuxAdapterPaths paths = {});

    LinkReading readLink(const std::string& connectionName) override;
    ProbeAnswer askGateway(const std::string& connectionName, const std::string& gateway,
                           std::chrono::milliseconds limit) override;
    ProbeAnswer askDnsServer(const std::string& server, std::chrono::milliseconds limit) override;

private:
    LinuxAdapterPaths paths_;
};

}  // namespace quorrel::platform
