#include "platform/linux/NetlinkSnapshot.h"
#include "system/linux/OwnedFd.h"

#include <arpa/inet.h>
#include <linux/if_addr.h>
#include <linux/if_link.h>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

namespace quorrel::platform {

namespace {

using MessageHandler = std::function<void(const nlmsghdr&)>;

// Sends one dump request and hands every answer message to `handle` until the dump ends.
bool dump(int fd, std::uint16_t type, unsigned char family, std::uint32_t sequence,
          const MessageHandler& handle, std::string& error) {
    struct {
        nlmsghdr header;
        rtgenmsg body;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    request.body.rtgen_family = family;

    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(fd, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&kernel),
                 sizeof kernel) < 0) {
        error = std::string("netlink send: ") + std::strerror(errno);
        return false;
    }

    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t received = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (received < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = std::string("netlink receive: ") + std::strerror(errno);
            return false;
        }
        if (received == 0) {
            error = "netlink: connection closed";
            return false;
        }
        auto length = static_cast<unsigned int>(received);
        for (auto* header = reinterpret_cast<nlmsghdr*>(buffer.data()); NLMSG_OK(header, length);
             header = NLMSG_NEXT(header, length)) {
            if (header->nlmsg_seq != sequence) {
                continue;
            }
            if (header->nlmsg_type == NLMSG_DONE) {
                return true;
            }
            if (header->nlmsg_type == NLMSG_ERROR) {
                const auto* failure = static_cast<const nlmsgerr*>(NLMSG_DATA(header));
                error = std::string("netlink: ") + std::strerror(-failure->error);
                return false;
            }
            handle(*header);
        }
    }
}

// Calls `visit(type, data, length)` for every attribute that follows a fixed header of
// `fixedSize` bytes.
template <typename Visit>
void forEachAttribute(const nlmsghdr& header, std::size_t fixedSize, Visit visit) {
    const auto* start = static_cast<const char*>(NLMSG_DATA(&header)) + NLMSG_ALIGN(fixedSize);
    const std::size_t payload = header.nlmsg_len - NLMSG_LENGTH(fixedSize);
    if (header.nlmsg_len < NLMSG_LENGTH(fixedSize)) {
        return;
    }
    auto remaining = static_cast<unsigned int>(payload > 0xFFFF ? 0xFFFF : payload);
    for (const auto* attribute = reinterpret_cast<const rtattr*>(start);
         RTA_OK(attribute, remaining); attribute = RTA_NEXT(attribute, remaining)) {
        visit(attribute->rta_type, RTA_DATA(attribute), RTA_PAYLOAD(attribute));
    }
}

std::uint32_t readU32(const void* data) {
    std::uint32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

void addLink(const nlmsghdr& header, NetlinkSnapshot& snapshot) {
    if (header.nlmsg_type != RTM_NEWLINK || header.nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) {
        return;
    }
    const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(&header));
    NetlinkLink link;
    link.index = info->ifi_index;
    link.flags = info->ifi_flags;
    forEachAttribute(header, sizeof(ifinfomsg),
                     [&](unsigned short type, const void* data, std::size_t size) {
                         const auto* bytes = static_cast<const char*>(data);
                         if (type == IFLA_IFNAME) {
                             link.name.assign(bytes, ::strnlen(bytes, size));
                         } else if (type == IFLA_ADDRESS) {
                             link.address.assign(bytes, bytes + size);
                         }
                     });
    snapshot.links.push_back(std::move(link));
}

void addAddress(const nlmsghdr& header, NetlinkSnapshot& snapshot) {
    if (header.nlmsg_type != RTM_NEWADDR || header.nlmsg_len < NLMSG_LENGTH(sizeof(ifaddrmsg))) {
        return;
    }
    const auto* info = static_cast<const ifaddrmsg*>(NLMSG_DATA(&header));
    if (info->ifa_family != AF_INET) {
        return;
    }
    NetlinkAddress address;
    address.index = static_cast<int>(info->ifa_index);
    address.prefixLength = info->ifa_prefixlen;
    address.flags = info->ifa_flags;
    bool haveLocal = false;
    bool haveAddress = false;
    std::uint32_t local = 0;
    std::uint32_t peer = 0;
    forEachAttribute(header, sizeof(ifaddrmsg),
                     [&](unsigned short type, const void* data, std::size_t size) {
                         if (type == IFA_LOCAL && size >= 4) {
                             local = readU32(data);
                             haveLocal = true;
                         } else if (type == IFA_ADDRESS && size >= 4) {
                             peer = readU32(data);
                             haveAddress = true;
                         } else if (type == IFA_FLAGS && size >= 4) {
                             address.flags = readU32(data);
                         } else if (type == IFA_BROADCAST && size >= 4) {
                             address.broadcast = readU32(data);
                         } else if (type == IFA_CACHEINFO && size >= sizeof(ifa_cacheinfo)) {
                             ifa_cacheinfo cache{};
                             std::memcpy(&cache, data, sizeof cache);
                             address.validLifetime = cache.ifa_valid;
                         }
                     });
    if (!haveLocal && !haveAddress) {
        return;
    }
    // On point-to-point links IFA_ADDRESS is the peer; IFA_LOCAL is always our own.
    address.address = haveLocal ? local : peer;
    address.pointToPoint = haveLocal && haveAddress && local != peer;
    snapshot.addresses.push_back(address);
}

void addRoute(const nlmsghdr& header, NetlinkSnapshot& snapshot) {
    if (header.nlmsg_type != RTM_NEWROUTE || header.nlmsg_len < NLMSG_LENGTH(sizeof(rtmsg))) {
        return;
    }
    const auto* info = static_cast<const rtmsg*>(NLMSG_DATA(&header));
    if (info->rtm_family != AF_INET || info->rtm_dst_len != 0 || info->rtm_type != RTN_UNICAST) {
        return;
    }
    std::uint32_t table = info->rtm_table;
    NetlinkRoute route;
    route.onlink = (info->rtm_flags & RTNH_F_ONLINK) != 0;
    bool haveGateway = false;
    forEachAttribute(header, sizeof(rtmsg),
                     [&](unsigned short type, const void* data, std::size_t size) {
                         if (type == RTA_TABLE && size >= 4) {
                             table = readU32(data);
                         } else if (type == RTA_OIF && size >= 4) {
                             route.outIndex = static_cast<int>(readU32(data));
                         } else if (type == RTA_GATEWAY && size >= 4) {
                             route.gateway = readU32(data);
                             haveGateway = true;
                         } else if (type == RTA_PRIORITY && size >= 4) {
                             route.metric = readU32(data);
                         } else if (type == RTA_NH_ID) {
                             route.nexthopObject = true;
                         }
                     });
    if (table != RT_TABLE_MAIN || route.outIndex == 0) {
        return;
    }
    snapshot.interfaceDefaultRoutes.push_back(route);
    if (haveGateway) {
        snapshot.defaultRoutes.push_back(route);
    }
}

void addNeighbour(const nlmsghdr& header, std::vector<NetlinkNeighbour>& neighbours) {
    if (header.nlmsg_type != RTM_NEWNEIGH || header.nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg))) {
        return;
    }
    const auto* info = static_cast<const ndmsg*>(NLMSG_DATA(&header));
    if (info->ndm_family != AF_INET) {
        return;
    }
    NetlinkNeighbour neighbour;
    neighbour.index = info->ndm_ifindex;
    neighbour.state = info->ndm_state;
    bool haveAddress = false;
    forEachAttribute(header, sizeof(ndmsg),
                     [&](unsigned short type, const void* data, std::size_t size) {
                         if (type == NDA_DST && size >= 4) {
                             neighbour.address = readU32(data);
                             haveAddress = true;
                         } else if (type == NDA_LLADDR) {
                             const auto* bytes = static_cast<const std::uint8_t*>(data);
                             neighbour.linkAddress.assign(bytes, bytes + size);
                         }
                     });
    if (haveAddress) {
        neighbours.push_back(neighbour);
    }
}

// A netlink socket of the routing family bound to this process (closed on exec), which also
// hears the multicast `groups`.
Expected<system::OwnedFd> boundSocket(int extraFlags, std::uint32_t groups) {
    system::OwnedFd socket(
        ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | extraFlags, NETLINK_ROUTE));
    if (!socket.valid()) {
        return failure(std::string("netlink socket: ") + std::strerror(errno));
    }
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = groups;
    if (::bind(socket.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        return failure(std::string("netlink bind: ") + std::strerror(errno));
    }
    return socket;
}

}  // namespace

Expected<std::vector<NetlinkNeighbour>> readNetlinkNeighbours() {
    const Expected<system::OwnedFd> socket = boundSocket(0, 0);
    if (!socket) {
        return failure(socket.error());
    }
    std::vector<NetlinkNeighbour> neighbours;
    std::string error;
    if (!dump(
            socket->get(), RTM_GETNEIGH, AF_INET, 1,
            [&](const nlmsghdr& header) { addNeighbour(header, neighbours); }, error)) {
        return failure(std::move(error));
    }
    return neighbours;
}

Expected<system::OwnedFd> openNetlinkChanges() {
    return boundSocket(SOCK_NONBLOCK, RTMGRP_LINK | RTMGRP_IPV4_ROUTE);
}

const NetlinkLink* NetlinkSnapshot::findLink(const std::string& name) const {
    for (const auto& link : links) {
        if (link.name == name) {
            return &link;
        }
    }
    return nullptr;
}

const NetlinkAddress* NetlinkSnapshot::firstAddress(int index) const {
    for (const auto& address : addresses) {
        if (address.index == index) {
            return &address;
        }
    }
    return nullptr;
}

const NetlinkRoute* NetlinkSnapshot::firstDefaultRoute(int index) const {
    for (const auto& route : defaultRoutes) {
        if (route.outIndex == index) {
            return &route;
        }
    }
    return nullptr;
}

Expected<NetlinkSnapshot> readNetlinkSnapshot() {
    const Expected<system::OwnedFd> socket = boundSocket(0, 0);
    if (!socket) {
        return failure(socket.error());
    }
    NetlinkSnapshot snapshot;
    std::string error;
    if (!dump(
            socket->get(), RTM_GETLINK, AF_UNSPEC, 1,
            [&](const nlmsghdr& header) { addLink(header, snapshot); }, error) ||
        !dump(
            socket->get(), RTM_GETADDR, AF_INET, 2,
            [&](const nlmsghdr& header) { addAddress(header, snapshot); }, error) ||
        !dump(
            socket->get(), RTM_GETROUTE, AF_INET, 3,
            [&](const nlmsghdr& header) { addRoute(header, snapshot); }, error)) {
        return failure(std::move(error));
    }
    std::stable_sort(snapshot.links.begin(), snapshot.links.end(),
                     [](const NetlinkLink& a, const NetlinkLink& b) { return a.index < b.index; });
    return snapshot;
}

std::string dottedAddress(std::uint32_t networkOrder) {
    char text[INET_ADDRSTRLEN] = {};
    in_addr address{};
    address.s_addr = networkOrder;
    if (::inet_ntop(AF_INET, &address, text, sizeof text) == nullptr) {
        return {};
    }
    return text;
}

std::string dottedMask(unsigned prefixLength) {
    if (prefixLength > 32) {
        prefixLength = 32;
    }
    const std::uint32_t mask =
        prefixLength == 0 ? 0u : static_cast<std::uint32_t>(0xFFFFFFFFull << (32 - prefixLength));
    return dottedAddress(htonl(mask));
}

}  // namespace quorrel::platform
