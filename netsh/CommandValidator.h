#pragma once

#include <optional>
#include <string>

#include "base/Expected.h"
#include "netsh/InterfaceProbe.h"
#include "netsh/NetshCommand.h"

namespace quorrel::netsh {

// Checks every value of a parsed command before anything is changed: the interface exists
// and is not the loopback interface;
// addresses are strict dotted IPv4; the mask is contiguous (/1 to /32); the address is a
// usable host address and, up to /30, neither the network nor the broadcast address of its
// subnet; the gateway is a host of that subnet other than the address itself; the gateway
// metric is a number 0-9999; a DNS server is neither 0.0.0.0 nor multicast or above; the
// DNS index is a number 1-999. Returns the command with its numbers set when all is well,
// else what is wrong.
Expected<NetshCommand> validateCommand(NetshCommand command, const InterfaceProbe& interfaces);

// The checks of a fixed address, also applied to what netsh did not get from its command
// line (a DHCP lease, a stored state): "" when `address` with `mask` can be an interface's
// address and `gateway` ("" for none) its gateway, else what is wrong.
std::string checkFixedAddress(const std::string& address, const std::string& mask,
                              const std::string& gateway);
// "" when `server` can be a DNS server, else what is wrong.
std::string checkDnsServer(const std::string& server);

// A decimal number in [low, high] written with digits only.
std::optional<int> parseBoundedNumber(const std::string& text, int low, int high);

}  // namespace quorrel::netsh
