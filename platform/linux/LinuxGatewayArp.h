#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::platform {

// The gateway's link address asked for afresh, not taken from the neighbour table (which
// may still hold the entry of the network before for a moment after the link changed): ARP
// requests from the interface `index` (hardware address `own`, IPv4 address `sender`, both
// as the kernel reports them; addresses in network byte order) for `gateway`, every 100 ms,
// until a reply from it comes or `limit` passes. The answer as upper-case hex
// ("02:00:00:00:A0:01"), "" when nothing answered; none when no packet socket may be opened
// (it needs CAP_NET_RAW), so that only the kernel's own resolution can be asked.
std::optional<std::string> askGatewayOverArp(int index, const std::vector<std::uint8_t>& own,
                                             std::uint32_t sender, std::uint32_t gateway,
                                             std::chrono::milliseconds limit);

}  // namespace quorrel::platform
