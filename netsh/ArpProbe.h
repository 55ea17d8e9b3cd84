#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::netsh {

// Duplicate address detection before a fixed IPv4 address is taken, as RFC 5227 describes
// it: ARP probes (sender IP 0.0.0.0, so that no host learns the address from them) ask
// the link who has the address, and any ARP packet showing another host with it means
// the address is in use. The packets are the RFC's; its waits (probes 1 to 2 s apart, then
// 2 s for late answers) are scaled down to a LAN, where an answer comes back in well under a
// millisecond: the probe stands in an interactive apply, so a silent link costs 190 ms in
// all, and the probe ends as soon as a host answers.

using MacAddress = std::array<std::uint8_t, 6>;

// "02:00:5E:10:00:01": two upper-case hexadecimal digits per byte, as the adapter list
// shows hardware addresses.
std::string formatMac(const MacAddress& mac);

// Size of an ARP packet for IPv4 over Ethernet, without the Ethernet header.
inline constexpr std::size_t kArpPacketSize = 28;

// The ARP probe for `target` from the interface with hardware address `sender`: a
// request with sender IP 0.0.0.0 and target hardware address 0. Addresses are in host
// byte order. Sent to the Ethernet broadcast address.
std::vector<std::uint8_t> buildArpProbe(const MacAddress& sender, std::uint32_t target);

// The hardware address of another host that `packet` (an ARP packet as received, without
// the Ethernet header) shows using `target`: a request or reply whose sender IP is
// `target`, or another host's probe for `target` (two hosts taking the same address at
// once). Nothing for anything else, also for packets that are not IPv4-over-Ethernet ARP
// and for our own packets (sender hardware address `own`).
std::optional<MacAddress> addressUserIn(const std::vector<std::uint8_t>& packet,
                                        std::uint32_t target, const MacAddress& own);

// Where the probe sends and listens: one interface's link.
class ArpLink {
public:
    using Clock = std::chrono::steady_clock;
    virtual ~ArpLink() = default;
    // Sends one ARP packet to the broadcast address. "" or what went wrong.
    virtual std::string send(const std::vector<std::uint8_t>& packet) = 0;
    // The next ARP packet that arrives before `until` (not one this host sent), or nothing
    // when `until` passes first or the link fails.
    virtual std::optional<std::vector<std::uint8_t>> receive(Clock::time_point until) = 0;
    virtual Clock::time_point now() const = 0;
};

// The last probe is followed by the longest wait, as in the RFC, so that a host that is
// slow to answer (up to about 150 ms after the first probe) is still heard.
struct ProbeTiming {
    int probes = 3;
    std::chrono::milliseconds interval{50};  // between two probes
    std::chrono::milliseconds total{190};    // from the first probe to "free"
};

struct ProbeResult {
    enum class Kind { Free, InUse, Failed };
    Kind kind = Kind::Free;
    MacAddress holder{};  // InUse: the host that answered
    std::string error;    // Failed: why the link could not be asked
};

// Probes the link for `target`: sends the probes on schedule and listens until `total`
// has passed since the first, or until a packet shows another host using the address.
ProbeResult probeAddress(ArpLink& link, const MacAddress& own, std::uint32_t target,
                         const ProbeTiming& timing = {});

}  // namespace quorrel::netsh
