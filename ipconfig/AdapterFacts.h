#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::ipconfig {

// What decides the heading of an adapter's block.
enum class AdapterKind {
    Ethernet,
    Wireless,
    Other,
};

// The DHCP lease of an adapter, as the DHCP client recorded it.
struct LeaseFacts {
    std::string server;         // "" when not known
    std::int64_t obtained = 0;  // seconds since 1970 (UTC); 0 when not known
    std::int64_t expires = 0;
};

// One adapter as the report shows it. Texts are UTF-8; addresses are dotted decimal and ""
// when the adapter has none.
struct AdapterFacts {
    std::string connectionName;
    AdapterKind kind = AdapterKind::Ethernet;
    std::string description;                    // "" when not known: the line is left out
    std::vector<std::uint8_t> hardwareAddress;  // empty: the line is left out
    bool mediaConnected = true;                 // false: no carrier or switched off
    bool dhcpEnabled = false;
    std::string ipAddress;
    std::string subnetMask;
    std::string gateway;
    std::vector<std::string> dnsServers;  // in order, the first is the primary
    std::optional<LeaseFacts> lease;      // shown only with dhcpEnabled
};

// Everything the report prints.
struct ReportFacts {
    std::string hostName;
    std::vector<AdapterFacts> adapters;  // in the platform's order
};

}  // namespace quorrel::ipconfig
