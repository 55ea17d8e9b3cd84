// A host of the link that holds an address but answers ARP probes for it only after a
// delay, as a slow or busy host does. Started by the address check's tests in the peer
// namespace:
//
//   late-arp-responder IFNAME ADDRESS DELAY_MS READY_FILE
//
// Opens a packet socket on IFNAME, creates READY_FILE once it listens, and answers every
// probe for ADDRESS (an ARP request with sender IP 0.0.0.0) DELAY_MS after it arrived with
// an ARP reply from ADDRESS. Runs until it is killed.

#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr std::size_t kArpSize = 28;

timespec after(const timespec& from, long ms) {
    timespec t = from;
    t.tv_sec += ms / 1000;
    t.tv_nsec += (ms % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_sec += 1;
        t.tv_nsec -= 1000000000L;
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: late-arp-responder IFNAME ADDRESS DELAY_MS READY_FILE\n");
        return 2;
    }
    const unsigned index = ::if_nametoindex(argv[1]);
    in_addr held{};
    if (index == 0 || ::inet_pton(AF_INET, argv[2], &held) != 1) {
        std::fprintf(stderr, "late-arp-responder: bad interface or address\n");
        return 2;
    }
    const long delayMs = std::atol(argv[3]);
    const int fd = ::socket(AF_PACKET, SOCK_DGRAM, htons(ETH_P_ARP));
    if (fd < 0) {
        std::perror("late-arp-responder: socket");
        return 1;
    }
    sockaddr_ll local{};
    local.sll_family = AF_PACKET;
    local.sll_protocol = htons(ETH_P_ARP);
    local.sll_ifindex = static_cast<int>(index);
    ifreq request{};
    std::strncpy(request.ifr_name, argv[1], IFNAMSIZ - 1);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        ::ioctl(fd, SIOCGIFHWADDR, &request) != 0) {
        std::perror("late-arp-responder: bind");
        return 1;
    }
    unsigned char ownMac[6];
    std::memcpy(ownMac, request.ifr_hwaddr.sa_data, sizeof ownMac);
    std::ofstream(argv[4]) << "listening\n";

    for (;;) {
        unsigned char p[256];
        sockaddr_ll from{};
        socklen_t fromSize = sizeof from;
        const ssize_t got =
            ::recvfrom(fd, p, sizeof p, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        timespec arrived{};
        ::clock_gettime(CLOCK_MONOTONIC, &arrived);
        const bool isProbe = got >= static_cast<ssize_t>(kArpSize) &&
                             from.sll_pkttype != PACKET_OUTGOING && p[6] == 0 && p[7] == 1 &&
                             std::memcmp(p + 14, "\0\0\0\0", 4) == 0 &&
                             std::memcmp(p + 24, &held, 4) == 0;
        if (!isProbe) {
            continue;
        }
        // The deliberate delay of a slow host, measured from the probe's arrival.
        const timespec answerAt = after(arrived, delayMs);
        while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &answerAt, nullptr) == EINTR) {
        }
        unsigned char reply[kArpSize];
        std::memcpy(reply, p, 6);  // Ethernet, IPv4, lengths
        reply[6] = 0;
        reply[7] = 2;  // reply
        std::memcpy(reply + 8, ownMac, 6);
        std::memcpy(reply + 14, &held, 4);
        std::memcpy(reply + 18, p + 8, 6);  // to the prober's hardware address
        std::memset(reply + 24, 0, 4);      // whose address is 0.0.0.0
        sockaddr_ll to{};
        to.sll_family = AF_PACKET;
        to.sll_protocol = htons(ETH_P_ARP);
        to.sll_ifindex = static_cast<int>(index);
        to.sll_halen = 6;
        std::memset(to.sll_addr, 0xFF, 6);  // broadcast, as RFC 5227 hosts defend
        ::sendto(fd, reply, sizeof reply, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
}
