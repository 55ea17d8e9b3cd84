#pragma once

#include <optional>
#include <string>

#include "base/Expected.h"

namespace quorrel::netsh {

// The two changes a DHCP lease or a fixed address makes, sent to the kernel over netlink in
// this process instead of starting `ip`, with the same result as
//   ip -4 addr add|replace ADDRESS/PREFIX broadcast + dev IF
//   ip -4 route append default via GATEWAY dev IF [metric METRIC]
// A failure is in the words ip prints ("Error: ipv4: Address already assigned."). Nothing when the
// change is not one these make alike (a prefix of 31 or 32, whose broadcast ip leaves to
// its own rules) or the kernel cannot be asked this way: the caller then runs ip.
std::optional<Done> setAddressOverNetlink(const std::string& ifname, const std::string& address,
                                          int prefix, bool replace);
std::optional<Done> appendDefaultRouteOverNetlink(const std::string& ifname,
                                                  const std::string& gateway, int metric);

}  // namespace quorrel::netsh
