#pragma once

#include <optional>
#include <string>

namespace quorrel::netsh {

enum class NetshAction {
    SetAddress,  // interface ip set address
    SetDns,      // interface ip set dns
    AddDns,      // interface ip add dns
};

// One netsh command line as given, before its values are checked.
struct NetshCommand {
    NetshAction action = NetshAction::SetAddress;
    std::string interfaceName;
    bool dhcp = false;  // source=dhcp (set address, set dns)
    // set address: the address; set dns, add dns: the DNS server, "" for none.
    std::string address;
    std::string mask;                          // set address
    std::string gateway;                       // set address; "" for none
    std::optional<std::string> gatewayMetric;  // set address, as written
    std::optional<std::string> index;          // add dns, as written; absent: at the end
};

}  // namespace quorrel::netsh
