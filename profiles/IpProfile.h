#pragma once

#include "base/CompactText.h"

namespace quorrel {

// One named IP configuration. Addresses are dotted texts exactly as entered or read; they
// are never held as numbers. connectionName and macAddress are filled only in the main
// frame's picture of the selected adapter (currentSettings), never in listed profiles.
// The texts are compact (16 bytes each, see CompactText): a list holds 100,000 records.
struct IpProfile {
    int isCurrent = 0;
    int useDhcp = 0;
    int dnsAuto = 0;
    CompactText name;
    CompactText connectionName;
    CompactText macAddress;
    CompactText ipAddress;
    CompactText subnetMask;
    CompactText gateway;
    CompactText primaryDns;
    CompactText secondaryDns;
};

}  // namespace quorrel
