#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/AdapterKeys.h"
#include "platform/AdapterTable.h"
#include "platform/linux/DhcpClientCommand.h"
#include "platform/linux/NetlinkSnapshot.h"
#include "platform/linux/NetworkManager.h"

namespace quorrel::platform {

// Where the Linux adapter source looks for what the kernel does not know: the network
// state our netsh keeps, the resolver configuration and the process table.
struct LinuxAdapterPaths {
    std::string stateFolder;  // empty: the network state folder in effect
    std::string resolvConf = "/etc/resolv.conf";
    std::string procRoot = "/proc";
    // The configuration NetworkManager has applied to an interface it manages; nothing for
    // one it does not manage (or when it does not run). Its word comes before netsh's
    // records, which only cover interfaces nobody manages.
    std::function<std::optional<ManagedInterfaceConfig>(const std::string& ifname)> managedConfig =
        [](const std::string& ifname) { return networkManagerConfig(ifname); };
};

// The DHCP clients (udhcpc, dhclient, dhcpcd) of the caller's network namespace, read from
// the process table of `procRoot` at the first question and kept for the later ones, so
// that one look at every adapter reads it once.
class DhcpClientProcesses {
public:
    explicit DhcpClientProcesses(std::string procRoot);

    // Whether one of them was started for `ifname`.
    bool runFor(const std::string& ifname);

private:
    std::vector<std::vector<std::string>> scan() const;

    std::string procRoot_;
    std::optional<std::vector<std::vector<std::string>>> clients_;  // their command lines
};

// Whether `link` obtains its address by DHCP: as netsh recorded it; for an interface
// netsh never set, when its first address is a dynamic one (not permanent, or with a
// finite lifetime) or a DHCP client runs for it in this network namespace.
bool linuxInterfaceUsesDhcp(const LinuxAdapterPaths& paths, const NetlinkSnapshot& snapshot,
                            const NetlinkLink& link);
// The same, asking `clients` about the process table.
bool linuxInterfaceUsesDhcp(const LinuxAdapterPaths& paths, const NetlinkSnapshot& snapshot,
                            const NetlinkLink& link, DhcpClientProcesses& clients);

// The interface's hand-set DNS servers joined by commas, as a "NameServer" value: as netsh
// recorded them; for an interface netsh never set, "" under DHCP and the IPv4 servers of
// the resolver configuration otherwise (the system's own, not those netsh wrote there for
// other interfaces).
std::string linuxNameServerValue(const LinuxAdapterPaths& paths, const std::string& ifname,
                                 bool usesDhcp);

// The IPv4 "nameserver" addresses of a resolv.conf text, in order, leaving out the lines
// that netsh wrote for the interfaces it set.
std::vector<std::string> resolvConfServers(const std::string& text);

// Whether the process table of `procRoot` shows a DHCP client (udhcpc, dhclient, dhcpcd)
// for `ifname` in the caller's network namespace.
bool dhcpClientProcessRunning(const std::string& procRoot, const std::string& ifname);

// Every non-loopback interface, in index order: id and connection name are the interface
// name, with its link address, its first IPv4 address and mask and its first default
// gateway.
class LinuxAdapterTable final : public AdapterTable {
public:
    // Nominal size of one entry of the table, in bytes.
    static constexpr std::size_t kEntrySize = 640;

    explicit LinuxAdapterTable(LinuxAdapterPaths paths = {});

    std::size_t probeSize() override;
    AdapterFetch fetch(std::size_t& size, std::vector<AdapterTableEntry>& entries) override;

private:
    LinuxAdapterPaths paths_;
};

// The two per-adapter keys of an interface: both open while the interface exists; the
// connection key's "Name" is the interface name, the interface key's "NameServer" is
// linuxNameServerValue().
class LinuxAdapterKeys final : public AdapterKeys {
public:
    explicit LinuxAdapterKeys(LinuxAdapterPaths paths = {});

    std::unique_ptr<AdapterKey> openConnectionKey(const std::string& adapterId) override;
    std::unique_ptr<AdapterKey> openInterfaceKey(const std::string& adapterId) override;

private:
    LinuxAdapterPaths paths_;
};

}  // namespace quorrel::platform
