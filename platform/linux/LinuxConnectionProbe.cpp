// The questions of the connection check on Linux, asked without any rights: netlink for
// the interface and the neighbour table, ordinary datagram sockets for the rest.

#include "platform/linux/LinuxConnectionProbe.h"

#include <arpa/inet.h>
#include <linux/neighbour.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <sstream>

#include "platform/DnsMessage.h"
#include "platform/linux/NetlinkSnapshot.h"
#include "platform/linux/NetworkState.h"
#include "system/linux/FileRead.h"
#include "system/linux/OwnedFd.h"

namespace quorrel::platform {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often a question is asked again while no answer has come.
constexpr milliseconds kResendPeriod{500};
// How often the neighbour table is looked at while the kernel resolves the gateway.
constexpr milliseconds kNeighbourPeriod{20};
// The discard port: what the gateway does with the datagram does not matter, only that the
// kernel must find the gateway's link address to send it.
constexpr std::uint16_t kDiscardPort = 9;

constexpr const char* kResolvedStub = "127.0.0.53";
constexpr const char* kResolvedServers = "/run/systemd/resolve/resolv.conf";

std::string errnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

std::uint16_t randomIdentifier() {
    std::random_device device;
    return static_cast<std::uint16_t>(device() & 0xFFFF);
}

int remainingMs(Clock::time_point deadline, milliseconds cap) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    if (left <= milliseconds::zero()) {
        return 0;
    }
    return static_cast<int>(left < cap ? left.count() : cap.count());
}

bool parseAddress(const std::string& text, in_addr& address) {
    return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

sockaddr_in endpoint(in_addr address, std::uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr = address;
    to.sin_port = htons(port);
    return to;
}

// Whether the kernel holds a confirmed link address for `address` on interface `index`.
// Older entries that wait for confirmation (stale, delay, probe) do not count: only an
// answer to the kernel's own question, or an entry set by hand, does.
bool neighbourConfirmed(int index, std::uint32_t address) {
    const Expected<std::vector<NetlinkNeighbour>> neighbours = readNetlinkNeighbours();
    if (!neighbours) {
        return false;
    }
    for (const NetlinkNeighbour& neighbour : *neighbours) {
        if (neighbour.index == index && neighbour.address == address &&
            (neighbour.state & (NUD_REACHABLE | NUD_PERMANENT)) != 0) {
            return true;
        }
    }
    return false;
}

// An echo request over a ping socket, where the system allows the user one; -1 otherwise.
int openPingSocket() {
    return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP);
}

void sendEcho(int fd, const sockaddr_in& to, std::uint16_t sequence) {
    icmphdr echo{};
    echo.type = ICMP_ECHO;
    echo.un.echo.sequence = htons(sequence);  // the kernel fills in the identifier
    ::sendto(fd, &echo, sizeof echo, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to),
             sizeof to);
}

bool echoReplyArrived(int fd) {
    for (;;) {
        unsigned char buffer[256];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0) {
            return false;
        }
        // A ping socket hands over the ICMP message alone, for its own identifier only.
        if (static_cast<std::size_t>(got) >= sizeof(icmphdr) && buffer[0] == ICMP_ECHOREPLY) {
            return true;
        }
    }
}

// The error waiting on a connected datagram socket, or 0.
int pendingError(int fd) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
        return errno;
    }
    return error;
}

}  // namespace

std::vector<std::string> resolverServers(const std::string& text) {
    std::vector<std::string> servers;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string keyword;
        std::string address;
        in_addr parsed{};
        if (words >> keyword >> address && keyword == "nameserver" &&
            ::inet_pton(AF_INET, address.c_str(), &parsed) == 1) {
            servers.push_back(address);
        }
    }
    return servers;
}

std::vector<std::string> linuxDnsServersInUse(const LinuxAdapterPaths& paths,
                                              const std::string& ifname) {
    const std::string folder = paths.stateFolder.empty() ? networkStateFolder() : paths.stateFolder;
    if (const auto state = readInterfaceState(folder, ifname); state && state->dnsAuto) {
        std::vector<std::string> servers = effectiveDnsServers(*state);
        if (!servers.empty()) {
            return servers;
        }
    }
    std::vector<std::string> servers =
        resolverServers(system::readWholeFile(paths.resolvConf).value_or(""));
    if (servers.size() == 1 && servers.front() == kResolvedStub) {
        std::vector<std::string> behind =
            resolverServers(system::readWholeFile(kResolvedServers).value_or(""));
        if (!behind.empty()) {
            return behind;
        }
    }
    return servers;
}

ProbeAnswer askDnsServerAt(const std::string& server, std::uint16_t port, milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    in_addr address{};
    if (!parseAddress(server, address)) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible,
                                    "not an IPv4 address: " + server);
    }
    const system::OwnedFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible, errnoText("socket"));
    }
    const sockaddr_in to = endpoint(address, port);
    // Connected, so that only the server's replies arrive and a refusal is reported.
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, errnoText("connect"));
    }
    const std::vector<std::uint8_t> query = makeDnsQuery(randomIdentifier(), ".", kDnsTypeNs);

    Clock::time_point nextSend = Clock::now();
    std::string detail = "no reply";
    while (Clock::now() < deadline) {
        if (Clock::now() >= nextSend) {
            ::send(socket.get(), query.data(), query.size(), MSG_NOSIGNAL);
            nextSend = Clock::now() + kResendPeriod;
        }
        pollfd wait{socket.get(), POLLIN, 0};
        const int ready = ::poll(&wait, 1, remainingMs(deadline, kResendPeriod));
        if (ready <= 0) {
            continue;
        }
        std::uint8_t reply[1500];
        const ssize_t got = ::recv(socket.get(), reply, sizeof reply, 0);
        if (got < 0) {
            if (errno == ECONNREFUSED) {
                // The host is there, but nothing serves DNS on it.
                return ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, "refused");
            }
            if (errno != EAGAIN && errno != EINTR) {
                detail = errnoText("recv");
            }
            continue;
        }
        if (isDnsReplyTo(reply, static_cast<std::size_t>(got), query)) {
            return ProbeAnswer::answeredBy("DNS");
        }
    }
    return ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, detail);
}

LinuxConnectionProbe::LinuxConnectionProbe(LinuxAdapterPaths paths) : paths_(std::move(paths)) {}

LinkReading LinuxConnectionProbe::readLink(const std::string& connectionName) {
    LinkReading reading;
    const Expected<NetlinkSnapshot> read = readNetlinkSnapshot();
    if (!read) {
        return reading;
    }
    const NetlinkSnapshot& snapshot = *read;
    const NetlinkLink* link = snapshot.findLink(connectionName);
    if (link == nullptr) {
        return reading;
    }
    reading.found = true;
    reading.up = (link->flags & IFF_UP) != 0 && (link->flags & IFF_RUNNING) != 0;
    for (const NetlinkAddress& address : snapshot.addresses) {
        if (address.index == link->index) {
            reading.addresses.push_back(dottedAddress(address.address));
        }
    }
    if (const NetlinkRoute* route = snapshot.firstDefaultRoute(link->index)) {
        reading.gateway = dottedAddress(route->gateway);
    }
    reading.dnsServers = linuxDnsServersInUse(paths_, connectionName);
    return reading;
}

ProbeAnswer LinuxConnectionProbe::askGateway(const std::string& connectionName,
                                             const std::string& gateway, milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    const unsigned index = ::if_nametoindex(connectionName.c_str());
    if (index == 0) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible,
                                    "no interface " + connectionName);
    }
    in_addr address{};
    if (!parseAddress(gateway, address)) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible,
                                    "not an IPv4 address: " + gateway);
    }

    // The datagram that makes the kernel resolve the gateway's link address. A gateway
    // that refuses it (port unreachable) has answered as well.
    const system::OwnedFd trigger(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const sockaddr_in discard = endpoint(address, kDiscardPort);
    const bool triggerReady =
        trigger.get() >= 0 &&
        ::connect(trigger.get(), reinterpret_cast<const sockaddr*>(&discard), sizeof discard) == 0;
    const system::OwnedFd ping(openPingSocket());
    const sockaddr_in echoTo = endpoint(address, 0);
    if (!triggerReady && ping.get() < 0) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible, errnoText("socket"));
    }

    std::uint16_t sequence = 0;
    Clock::time_point nextSend = Clock::now();
    std::string detail = ping.get() < 0 ? "no ARP reply (ping sockets not allowed)" : "no reply";
    for (;;) {
        if (neighbourConfirmed(static_cast<int>(index), address.s_addr)) {
            return ProbeAnswer::answeredBy("ARP");
        }
        if (Clock::now() >= deadline) {
            break;
        }
        if (Clock::now() >= nextSend) {
            if (triggerReady) {
                const char byte = 0;
                ::send(trigger.get(), &byte, 1, MSG_NOSIGNAL);
            }
            if (ping.get() >= 0) {
                sendEcho(ping.get(), echoTo, ++sequence);
            }
            nextSend = Clock::now() + kResendPeriod;
        }
        pollfd waits[2] = {{triggerReady ? trigger.get() : -1, POLLIN, 0}, {ping.get(), POLLIN, 0}};
        if (::poll(waits, 2, remainingMs(deadline, kNeighbourPeriod)) <= 0) {
            continue;
        }
        if (waits[0].revents != 0) {
            const int pending = pendingError(trigger.get());
            if (pending == ECONNREFUSED) {
                return ProbeAnswer::answeredBy("ICMP");
            }
            char discardBuffer[64];
            while (::recv(trigger.get(), discardBuffer, sizeof discardBuffer, 0) > 0) {
            }
        }
        if (waits[1].revents != 0 && echoReplyArrived(ping.get())) {
            return ProbeAnswer::answeredBy("ICMP");
        }
    }
    return ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, detail);
}

ProbeAnswer LinuxConnectionProbe::askDnsServer(const std::string& server, milliseconds limit) {
    return askDnsServerAt(server, kDnsPort, limit);
}

std::unique_ptr<ConnectionProbe> makeSystemConnectionProbe() {
    return std::make_unique<LinuxConnectionProbe>();
}

}  // namespace quorrel::platform
