#include "netsh/AddressConflict.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "netsh/ArpProbe.h"
#include "netsh/Ipv4.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

namespace {

std::string lastError() {
    return std::strerror(errno);
}

// What the probe needs to know of the interface.
struct LinkFacts {
    bool exists = false;
    bool canProbe = false;  // up, with carrier, Ethernet with ARP
    MacAddress mac{};
    int index = 0;
};

LinkFacts linkFacts(const std::string& ifname) {
    LinkFacts facts;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return facts;
    }
    ifreq request{};
    std::memcpy(request.ifr_name, ifname.c_str(), ifname.size());
    if (::ioctl(fd, SIOCGIFFLAGS, &request) == 0) {
        facts.exists = true;
        const auto flags = static_cast<unsigned>(request.ifr_flags);
        const bool linkUp = (flags & IFF_UP) != 0 && (flags & IFF_RUNNING) != 0;
        facts.canProbe = linkUp && (flags & IFF_NOARP) == 0;
    }
    if (facts.canProbe && ::ioctl(fd, SIOCGIFHWADDR, &request) == 0 &&
        request.ifr_hwaddr.sa_family == ARPHRD_ETHER) {
        std::memcpy(facts.mac.data(), request.ifr_hwaddr.sa_data, facts.mac.size());
    } else {
        facts.canProbe = false;
    }
    ::close(fd);
    facts.index = static_cast<int>(::if_nametoindex(ifname.c_str()));
    return facts;
}

bool hasAddress(const std::string& ifname, std::uint32_t address) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return false;
    }
    bool found = false;
    for (const ifaddrs* a = list; a != nullptr && !found; a = a->ifa_next) {
        if (a->ifa_addr != nullptr && a->ifa_addr->sa_family == AF_INET && ifname == a->ifa_name) {
            sockaddr_in in{};
            std::memcpy(&in, a->ifa_addr, sizeof in);
            found = ntohl(in.sin_addr.s_addr) == address;
        }
    }
    ::freeifaddrs(list);
    return found;
}

// ARP on one interface through a packet socket of the link layer (the kernel adds and
// strips the Ethernet header).
class PacketArpLink final : public ArpLink {
public:
    explicit PacketArpLink(int index) : index_(index) {}
    ~PacketArpLink() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    PacketArpLink(const PacketArpLink&) = delete;
    PacketArpLink& operator=(const PacketArpLink&) = delete;

    std::string open() {
        fd_ = ::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_ARP));
        if (fd_ < 0) {
            denied_ = errno == EPERM || errno == EACCES;
            return "cannot open a packet socket: " + lastError();
        }
        sockaddr_ll local{};
        local.sll_family = AF_PACKET;
        local.sll_protocol = htons(ETH_P_ARP);
        local.sll_ifindex = index_;
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            return "cannot bind a packet socket: " + lastError();
        }
        return "";
    }

    std::string send(const std::vector<std::uint8_t>& packet) override {
        sockaddr_ll to{};
        to.sll_family = AF_PACKET;
        to.sll_protocol = htons(ETH_P_ARP);
        to.sll_ifindex = index_;
        to.sll_halen = 6;
        std::memset(to.sll_addr, 0xFF, 6);
        if (::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to) < 0) {
            return "cannot send an ARP probe: " + lastError();
        }
        return "";
    }

    std::optional<std::vector<std::uint8_t>> receive(Clock::time_point until) override {
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - now()).count();
            if (left <= 0) {
                return std::nullopt;
            }
            pollfd wait{fd_, POLLIN, 0};
            const int ready = ::poll(&wait, 1, static_cast<int>(left) + 1);
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready <= 0) {
                return std::nullopt;  // time is up, or the socket failed: nothing came
            }
            std::vector<std::uint8_t> packet(256);
            sockaddr_ll from{};
            socklen_t fromSize = sizeof from;
            const ssize_t got = ::recvfrom(fd_, packet.data(), packet.size(), 0,
                                           reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return std::nullopt;
            }
            // Our own probes come back to the socket as outgoing packets.
            if (from.sll_pkttype == PACKET_OUTGOING) {
                continue;
            }
            packet.resize(static_cast<std::size_t>(got));
            return packet;
        }
    }

    Clock::time_point now() const override { return Clock::now(); }

    // open() failed for want of the right to open packet sockets.
    bool denied() const { return denied_; }

private:
    int index_;
    int fd_ = -1;
    bool denied_ = false;
};

}  // namespace

std::string checkAddressFree(const std::string& ifname, const std::string& address,
                             std::string& note) {
    const std::optional<std::uint32_t> target = parseIpv4(address);
    if (!target || !platform::isValidInterfaceName(ifname)) {
        return "";  // the command's checks have refused such values before
    }
    const LinkFacts link = linkFacts(ifname);
    if (!link.exists || !link.canProbe || hasAddress(ifname, *target)) {
        return "";
    }
    PacketArpLink arp(link.index);
    std::string error = arp.open();
    if (!error.empty() && arp.denied()) {
        note = "did not check whether " + address + " is already in use on " + ifname + " (" +
               error + "; netsh needs CAP_NET_RAW for that)";
        return "";
    }
    ProbeResult result;
    if (error.empty()) {
        result = probeAddress(arp, link.mac, *target);
        error = result.error;
    }
    if (!error.empty()) {
        return "cannot check whether " + address + " is already in use on " + ifname + " (" +
               error + "); nothing was changed";
    }
    if (result.kind == ProbeResult::Kind::InUse) {
        return address + " is already in use on the network of " + ifname +
               ": the host with MAC address " + formatMac(result.holder) +
               " answered for it; nothing was changed";
    }
    return "";
}

}  // namespace quorrel::netsh
