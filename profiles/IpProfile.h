#pragma once

#include <string>

namespace quorrel {

// One named IP configuration. Addresses are dotted texts exactly as entered or read; they
// are never held as numbers. connectionName and macAddress are filled only in the main
// frame's picture of the selected adapter (currentSettings), never in listed profiles.
struct IpProfile {
    int isCurrent = 0;
    std::string name;
    std::string connectionName;
    std::string macAddress;
    int useDhcp = 0;
    std::string ipAddress;
    std::string subnetMask;
    std::string gateway;
    int dnsAuto = 0;
    std::string primaryDns;
    std::string secondaryDns;
};

}  // namespace quorrel
