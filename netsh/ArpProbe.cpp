#include "netsh/ArpProbe.h"

#include <algorithm>
#include <cstdio>

namespace quorrel::netsh {

namespace {

// The fields of an ARP packet for IPv4 over Ethernet (RFC 826).
constexpr std::uint16_t kHardwareEthernet = 1;
constexpr std::uint16_t kProtocolIpv4 = 0x0800;
constexpr std::uint16_t kOpRequest = 1;
constexpr std::uint16_t kOpReply = 2;
constexpr std::size_t kSenderMac = 8;
constexpr std::size_t kSenderIp = 14;
constexpr std::size_t kTargetIp = 24;

void put16(std::vector<std::uint8_t>& p, std::size_t at, std::uint16_t value) {
    p[at] = static_cast<std::uint8_t>(value >> 8);
    p[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void put32(std::vector<std::uint8_t>& p, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        p[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

std::uint16_t get16(const std::vector<std::uint8_t>& p, std::size_t at) {
    return static_cast<std::uint16_t>((p[at] << 8) | p[at + 1]);
}

std::uint32_t get32(const std::vector<std::uint8_t>& p, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | p[at + i];
    }
    return value;
}

MacAddress macAt(const std::vector<std::uint8_t>& p, std::size_t at) {
    MacAddress mac{};
    std::copy_n(p.begin() + static_cast<std::ptrdiff_t>(at), mac.size(), mac.begin());
    return mac;
}

}  // namespace

std::string formatMac(const MacAddress& mac) {
    std::string text;
    for (const std::uint8_t byte : mac) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        text += (text.empty() ? "" : ":") + std::string(pair);
    }
    return text;
}

std::vector<std::uint8_t> buildArpProbe(const MacAddress& sender, std::uint32_t target) {
    std::vector<std::uint8_t> p(kArpPacketSize, 0);
    put16(p, 0, kHardwareEthernet);
    put16(p, 2, kProtocolIpv4);
    p[4] = 6;  // hardware address length
    p[5] = 4;  // protocol address length
    put16(p, 6, kOpRequest);
    std::copy(sender.begin(), sender.end(), p.begin() + kSenderMac);
    // Sender IP (14..17) and target hardware address (18..23) stay zero.
    put32(p, kTargetIp, target);
    return p;
}

std::optional<MacAddress> addressUserIn(const std::vector<std::uint8_t>& p, std::uint32_t target,
                                        const MacAddress& own) {
    if (p.size() < kArpPacketSize || get16(p, 0) != kHardwareEthernet ||
        get16(p, 2) != kProtocolIpv4 || p[4] != 6 || p[5] != 4) {
        return std::nullopt;
    }
    const std::uint16_t op = get16(p, 6);
    if (op != kOpRequest && op != kOpReply) {
        return std::nullopt;
    }
    const MacAddress sender = macAt(p, kSenderMac);
    if (sender == own) {
        return std::nullopt;
    }
    const std::uint32_t senderIp = get32(p, kSenderIp);
    if (senderIp == target) {
        return sender;
    }
    // Another host probing for the same address right now.
    if (op == kOpRequest && senderIp == 0 && get32(p, kTargetIp) == target) {
        return sender;
    }
    return std::nullopt;
}

ProbeResult probeAddress(ArpLink& link, const MacAddress& own, std::uint32_t target,
                         const ProbeTiming& timing) {
    const std::vector<std::uint8_t> probe = buildArpProbe(own, target);
    const ArpLink::Clock::time_point start = link.now();
    const ArpLink::Clock::time_point end = start + timing.total;
    int sent = 0;
    for (;;) {
        const ArpLink::Clock::time_point now = link.now();
        const ArpLink::Clock::time_point nextProbe = start + sent * timing.interval;
        if (sent < timing.probes && now >= nextProbe) {
            if (std::string error = link.send(probe); !error.empty()) {
                return {ProbeResult::Kind::Failed, {}, std::move(error)};
            }
            ++sent;
            continue;
        }
        if (now >= end) {
            return {};
        }
        const ArpLink::Clock::time_point until =
            sent < timing.probes ? std::min(end, start + sent * timing.interval) : end;
        if (const auto packet = link.receive(until)) {
            if (const auto holder = addressUserIn(*packet, target, own)) {
                return {ProbeResult::Kind::InUse, *holder, {}};
            }
        }
    }
}

}  // namespace quorrel::netsh
