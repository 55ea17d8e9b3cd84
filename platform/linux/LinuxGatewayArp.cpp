#include "platform/linux/LinuxGatewayArp.h"

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if_arp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

#include "platform/linux/LinkAddress.h"
#include "system/linux/OwnedFd.h"

namespace quorrel::platform {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kResend{100};
// An ARP packet for IPv4 over Ethernet, without the Ethernet header.
constexpr std::size_t kArpSize = 28;

void put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

std::vector<std::uint8_t> request(const std::vector<std::uint8_t>& own, std::uint32_t sender,
                                  std::uint32_t gateway) {
    std::vector<std::uint8_t> packet(kArpSize, 0);
    put16(&packet[0], ARPHRD_ETHER);
    put16(&packet[2], ETH_P_IP);
    packet[4] = 6;
    packet[5] = 4;
    put16(&packet[6], ARPOP_REQUEST);
    std::memcpy(&packet[8], own.data(), 6);
    std::memcpy(&packet[14], &sender, 4);
    std::memcpy(&packet[24], &gateway, 4);
    return packet;
}

// The sender's hardware address of an ARP packet from `gateway`, or "".
std::string answerFrom(const std::uint8_t* packet, std::size_t size, std::uint32_t gateway) {
    if (size < kArpSize || packet[0] != 0 || packet[1] != ARPHRD_ETHER || packet[2] != 0x08 ||
        packet[3] != 0x00 || packet[4] != 6 || packet[5] != 4) {
        return {};
    }
    std::uint32_t from = 0;
    std::memcpy(&from, packet + 14, 4);
    return from == gateway ? hexLinkAddress(packet + 8, 6) : std::string();
}

}  // namespace

std::optional<std::string> askGatewayOverArp(int index, const std::vector<std::uint8_t>& own,
                                             std::uint32_t sender, std::uint32_t gateway,
                                             std::chrono::milliseconds limit) {
    if (own.size() != 6) {
        return std::nullopt;
    }
    const system::OwnedFd socket(::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_ARP)));
    if (socket.get() < 0) {
        return std::nullopt;
    }
    sockaddr_ll link{};
    link.sll_family = AF_PACKET;
    link.sll_protocol = htons(ETH_P_ARP);
    link.sll_ifindex = index;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&link), sizeof link) != 0) {
        return std::nullopt;
    }
    sockaddr_ll broadcast = link;
    broadcast.sll_halen = 6;
    std::memset(broadcast.sll_addr, 0xFF, 6);
    const std::vector<std::uint8_t> question = request(own, sender, gateway);

    const Clock::time_point deadline = Clock::now() + limit;
    Clock::time_point nextSend = Clock::now();
    while (Clock::now() < deadline) {
        if (Clock::now() >= nextSend) {
            ::sendto(socket.get(), question.data(), question.size(), 0,
                     reinterpret_cast<const sockaddr*>(&broadcast), sizeof broadcast);
            nextSend = Clock::now() + kResend;
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::min(deadline, nextSend) - Clock::now())
                              .count();
        pollfd ready{socket.get(), POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(std::max<long long>(wait, 0)) + 1) <= 0) {
            continue;
        }
        std::uint8_t packet[256];
        sockaddr_ll from{};
        socklen_t fromSize = sizeof from;
        const ssize_t got = ::recvfrom(socket.get(), packet, sizeof packet, 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (got > 0 && from.sll_pkttype != PACKET_OUTGOING) {
            std::string answer = answerFrom(packet, static_cast<std::size_t>(got), gateway);
            if (!answer.empty()) {
                return answer;
            }
        }
    }
    return std::string();
}

}  // namespace quorrel::platform
