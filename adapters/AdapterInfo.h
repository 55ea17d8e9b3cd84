#pragma once

#include <cstdint>
#include <string>

namespace quorrel {

// One network adapter as the platform's adapter table and its two keys describe it.
// Texts are UTF-8; addresses are dotted texts exactly as the platform formats them.
struct AdapterInfo {
    std::string connectionName;  // the name netsh addresses the adapter by; "" if unreadable
    std::string adapterId;       // the platform's identifier, used to find the keys
    std::string macAddress;      // "00:0C:29:AB:CD:EF"; "" without address bytes
    std::string subnetMask;
    std::string ipAddress;
    std::string gateway;
    std::string primaryDns;        // hand-set DNS servers, "" when none
    std::string secondaryDns;      // everything after the first comma of the server list
    std::int32_t dhcpEnabled = 0;  // 0 or 1
    std::int32_t dnsAuto = 0;      // 1: DHCP with no hand-set DNS server
    std::int32_t selected = 0;     // 1 on the chosen adapter's record
};

}  // namespace quorrel
