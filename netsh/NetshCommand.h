#pragma once

#include <optional>
#include <string>

namespace quorrel::netsh {

enum class NetshAction {
    SetAddress,  // interface ip set address
    SetDns,      // interface ip set dns
    AddDns,      // interface ip add dns
};

// One netsh command line. The parser fills in what was given; validateCommand checks it
// and sets the numbers, which are what the roads read.
struct NetshCommand {
    NetshAction action = NetshAction::SetAddress;
    std::string interfaceName;
    bool dhcp = false;  // source=dhcp (set address, set dns)
    // set address: the address; set dns, add dns: the DNS server, "" for none.
    std::string address;
    std::string mask;                              // set address
    std::string gateway;                           // set address; "" for none
    std::optional<std::string> gatewayMetricText;  // set address, as written
    std::optional<std::string> indexText;          // add dns, as written; absent: at the end
    // The same as numbers once checked: the metric 0-9999, the position 1-999 (1 = first).
    std::optional<int> gatewayMetric;
    std::optional<int> index;
};

}  // namespace quorrel::netsh
