#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ipconfig/AdapterFacts.h"
#include "platform/AdapterTable.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::ipconfig {

// What the platform knows about an interface beyond its adapter table entry.
struct InterfaceExtras {
    std::optional<platform::InterfaceState> state;  // as our netsh recorded it
    // The interface key's "NameServer": hand-set DNS servers joined by commas.
    std::string nameServerValue;
    // The IPv4 servers the resolver configuration names.
    std::vector<std::string> resolverServers;
    AdapterKind kind = AdapterKind::Ethernet;
    std::string description;
    bool mediaConnected = true;
};

// One adapter of the report. The connection name is the adapter's id (the interface name).
// DNS servers: the hand-set ones; without them, for a DHCP adapter, those of its recorded
// lease, or, when netsh never set the interface's DNS, those of the resolver configuration
// (which the system's own DHCP client keeps). The lease is shown only for a DHCP adapter.
AdapterFacts adapterFactsFrom(const platform::AdapterTableEntry& entry,
                              const InterfaceExtras& extras);

// The servers of a "NameServer" value, split at its commas; empty parts are dropped.
std::vector<std::string> splitNameServers(const std::string& value);

}  // namespace quorrel::ipconfig
