#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"

// Per-interface network settings that the kernel does not keep: whether an interface's
// address comes from DHCP, whether its DNS servers are automatic, the DNS servers set by
// hand, and the facts of the current DHCP lease. Our netsh records them when it changes an
// interface (and its DHCP hook when a lease arrives); the adapter inventory and ipconfig
// read them.
//
// Where: one folder, $QUORREL_NETSTATE_DIR when set and not empty, else
// /var/lib/quorrel/netstate. In it, per interface:
//
//   <ifname>.state      the settings, UTF-8 text, one "key=value" per line:
//                         address-source=dhcp|static
//                         dns-source=dhcp|static
//                         dns=10.0.0.1            hand-set DNS servers, in order, one a line
//                         lease-server=10.0.0.254 facts of the DHCP lease, present only
//                         lease-address=10.0.0.50 while there is one
//                         lease-mask=255.255.255.0
//                         lease-router=10.0.0.254
//                         lease-obtained=1700000000   seconds since 1970 (UTC)
//                         lease-expires=1700003600
//                         lease-dns=10.0.0.254    DNS servers of the lease, in order
//                         lease-refused=why       the last lease offered, refused by netsh
//                       Lines starting with '#' and unknown keys are ignored. A key that
//                       is missing means "not known": an interface whose address netsh
//                       never set has no address-source line.
//   <ifname>.dhcp.pid   process id of the DHCP client netsh started for the interface
//   <ifname>.dhcp.log   that client's output
//   <ifname>.journal    a change of the interface's address that a netsh run began and has
//                       not finished: what the interface had before (see netsh/ChangeJournal.h)
//   <ifname>.run-lock   locked by a netsh run on the interface from its checks to its end
//   <ifname>.lock       locked while the state file is read and rewritten
//   dns servers.lock    locked while the DNS servers of all interfaces go to the resolver
//                       (the blank keeps it apart from every interface's files)
//
// Every write replaces the whole file atomically (temporary file, fsync, rename; the fsyncs
// wait for flushInterfaceState where the writer says so).
//
// When netsh writes resolv.conf itself, each of its lines carries a comment naming the
// interface ("nameserver 10.0.0.53 # set by quorrel's netsh for eth0"); every other line is
// the system's own and stays.

namespace quorrel::platform {

struct DhcpLease {
    std::string server;
    std::string address;
    std::string mask;
    std::string router;
    std::int64_t obtained = 0;  // seconds since 1970, UTC; 0 when not known
    std::int64_t expires = 0;
    std::vector<std::string> dnsServers;

    bool operator==(const DhcpLease&) const = default;
};

struct InterfaceState {
    // Unset: netsh has not set this part of the interface, so nothing is known about it.
    std::optional<bool> dhcp;     // the address comes from DHCP
    std::optional<bool> dnsAuto;  // the DNS servers come from DHCP
    // Hand-set DNS servers in order (the first is the primary); empty with dnsAuto.
    std::vector<std::string> dnsServers;
    // The current lease, while DHCP has one.
    std::optional<DhcpLease> lease;
    // Why the last lease the DHCP client got was not taken; "" when none was refused.
    std::string refusedLease;

    bool operator==(const InterfaceState&) const = default;
};

// The state folder in effect (no trailing separator).
std::string networkStateFolder();

// The state of `ifname` as recorded in the state folder; nothing when the interface has
// never been recorded, the name cannot be an interface name, or the file is unreadable.
std::optional<InterfaceState> readInterfaceState(const std::string& ifname);
std::optional<InterfaceState> readInterfaceState(const std::string& folder,
                                                 const std::string& ifname);

// Whether a state written is on disk when the write returns, or only once flushed.
enum class StateDurability {
    OnDisk,
    // For a writer whose own record on disk covers the interface until it flushes the
    // state (flushInterfaceState); readers see the new state at once all the same.
    UntilFlushed,
};

// Records the state of `ifname`, creating the folder when needed. On failure the previous
// file is unchanged.
Done writeInterfaceState(const std::string& ifname, const InterfaceState& state);
Done writeInterfaceState(const std::string& folder, const std::string& ifname,
                         const InterfaceState& state,
                         StateDurability durability = StateDurability::OnDisk);
// Puts the state file of `ifname` (or its absence) on disk; fails when the kernel refuses.
Done flushInterfaceState(const std::string& folder, const std::string& ifname);

// The hand-set DNS servers joined by commas, as a "NameServer" value: "" when none.
std::string nameServerValue(const InterfaceState& state);

// True when a DHCP client that netsh started for `ifname` is still running.
bool dhcpClientRunning(const std::string& ifname);
bool dhcpClientRunning(const std::string& folder, const std::string& ifname);

// Removes the state file of `ifname`, as for an interface netsh never set. A failure when it
// exists and cannot be removed.
Done removeInterfaceState(const std::string& folder, const std::string& ifname);

// The interfaces that have a state file in the folder, sorted by name (bytes).
std::vector<std::string> recordedInterfaces(const std::string& folder);

// The DNS servers the interface uses by what netsh recorded: the hand-set ones, or, with
// automatic DNS, those of the current lease (none without one).
std::vector<std::string> effectiveDnsServers(const InterfaceState& state);

// Paths inside the folder, for netsh.
std::string interfaceStatePath(const std::string& folder, const std::string& ifname);
std::string dhcpPidPath(const std::string& folder, const std::string& ifname);
std::string dhcpLogPath(const std::string& folder, const std::string& ifname);
std::string journalPath(const std::string& folder, const std::string& ifname);
std::string runLockPath(const std::string& folder, const std::string& ifname);
std::string stateLockPath(const std::string& folder, const std::string& ifname);
std::string dnsLockPath(const std::string& folder);

// The resolv.conf line by which netsh names `server` as a DNS server of `ifname`.
std::string resolvConfLineFor(const std::string& server, const std::string& ifname);

// For each line of a resolv.conf text, whether netsh wrote it: its own tagged lines, and
// the block that earlier versions wrote (a "# DNS servers set by quorrel's netsh for ..."
// line and the nameserver lines right after it).
std::vector<bool> netshResolvConfLines(const std::vector<std::string>& lines);

// True for a "nameserver" line (leading blanks allowed).
bool isNameserverLine(const std::string& line);

// True when `ifname` can name an interface: 1 to 15 bytes, no '/', ':' or blank, not "."
// or "..".
bool isValidInterfaceName(const std::string& ifname);

// The text form of a state file and back; exposed for tests.
std::string formatInterfaceState(const InterfaceState& state);
InterfaceState parseInterfaceState(const std::string& text);

}  // namespace quorrel::platform
