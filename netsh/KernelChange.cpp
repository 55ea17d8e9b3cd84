#include "netsh/KernelChange.h"

#include <arpa/inet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "netsh/Ipv4.h"
#include "system/linux/OwnedFd.h"

namespace quorrel::netsh {

namespace {

// One request: the netlink header, the message's fixed part, then its attributes.
class Request {
public:
    Request(std::uint16_t type, std::uint16_t flags, const void* fixed, std::size_t size)
        : bytes_(NLMSG_SPACE(size)) {
        auto* header = reinterpret_cast<nlmsghdr*>(bytes_.data());
        header->nlmsg_type = type;
        header->nlmsg_flags = static_cast<std::uint16_t>(NLM_F_REQUEST | NLM_F_ACK | flags);
        header->nlmsg_seq = 1;
        std::memcpy(NLMSG_DATA(header), fixed, size);
    }

    void add(std::uint16_t type, const void* data, std::size_t size) {
        const std::size_t at = NLMSG_ALIGN(bytes_.size());
        bytes_.resize(at + RTA_SPACE(size));
        auto* attribute = reinterpret_cast<rtattr*>(bytes_.data() + at);
        attribute->rta_type = type;
        attribute->rta_len = static_cast<unsigned short>(RTA_LENGTH(size));
        std::memcpy(RTA_DATA(attribute), data, size);
    }
    void add(std::uint16_t type, std::uint32_t value) { add(type, &value, sizeof value); }

    // Nothing when the kernel cannot be asked; else its answer.
    std::optional<Done> send() {
        auto* header = reinterpret_cast<nlmsghdr*>(bytes_.data());
        header->nlmsg_len = static_cast<std::uint32_t>(bytes_.size());
        const system::OwnedFd socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
        // The kernel's own words for a refusal, as ip asks for them.
        const int one = 1;
        if (socket.valid()) {
            ::setsockopt(socket.get(), SOL_NETLINK, NETLINK_EXT_ACK, &one, sizeof one);
        }
        sockaddr_nl kernel{};
        kernel.nl_family = AF_NETLINK;
        if (!socket.valid() || ::sendto(socket.get(), bytes_.data(), bytes_.size(), 0,
                                        reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) < 0) {
            return std::nullopt;
        }
        alignas(nlmsghdr) char answer[8192];
        while (true) {
            const ssize_t n = ::recv(socket.get(), answer, sizeof answer, 0);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return std::nullopt;
            }
            auto length = static_cast<std::uint32_t>(n);
            for (auto* reply = reinterpret_cast<nlmsghdr*>(answer); NLMSG_OK(reply, length);
                 reply = NLMSG_NEXT(reply, length)) {
                if (reply->nlmsg_type != NLMSG_ERROR || reply->nlmsg_seq != 1) {
                    continue;
                }
                const auto* error = static_cast<const nlmsgerr*>(NLMSG_DATA(reply));
                if (error->error == 0) {
                    return Done();
                }
                return Done(failure(errorText(*reply, -error->error)));
            }
        }
    }

private:
    // What ip prints for the refusal: the kernel's message ("Error: ipv4: Address already
    // assigned."), else the system's text for the error number.
    static std::string errorText(const nlmsghdr& reply, int number) {
        if ((reply.nlmsg_flags & NLM_F_ACK_TLVS) != 0) {
            const auto* error = static_cast<const nlmsgerr*>(NLMSG_DATA(&reply));
            // The request comes back after the error unless the kernel cut it off.
            std::size_t at = NLMSG_HDRLEN + sizeof(nlmsgerr);
            if ((reply.nlmsg_flags & NLM_F_CAPPED) == 0) {
                at += error->msg.nlmsg_len - sizeof(nlmsghdr);
            }
            const char* base = reinterpret_cast<const char*>(&reply);
            while (at + sizeof(nlattr) <= reply.nlmsg_len) {
                const auto* attribute = reinterpret_cast<const nlattr*>(base + at);
                if (attribute->nla_len < sizeof(nlattr) ||
                    at + attribute->nla_len > reply.nlmsg_len) {
                    break;
                }
                if ((attribute->nla_type & NLA_TYPE_MASK) == NLMSGERR_ATTR_MSG) {
                    std::string text(base + at + sizeof(nlattr),
                                     attribute->nla_len - sizeof(nlattr));
                    text.resize(std::strlen(text.c_str()));
                    if (!text.empty()) {
                        return "Error: " + text + (text.back() == '.' ? "" : ".");
                    }
                }
                at += (attribute->nla_len + 3u) & ~3u;  // attributes start at 4-byte bounds
            }
        }
        return std::string("RTNETLINK answers: ") + std::strerror(number);
    }

    std::vector<char> bytes_;
};

}  // namespace

std::optional<Done> setAddressOverNetlink(const std::string& ifname, const std::string& address,
                                          int prefix, bool replace) {
    const unsigned index = ::if_nametoindex(ifname.c_str());
    const auto value = parseIpv4(address);
    // Loopback addresses take the host scope in ip; netsh never sets one, ip would.
    if (index == 0 || !value || prefix < 1 || prefix > 30 || (*value >> 24) == 127) {
        return std::nullopt;
    }
    const std::uint32_t local = htonl(*value);
    ifaddrmsg message{};
    message.ifa_family = AF_INET;
    message.ifa_prefixlen = static_cast<unsigned char>(prefix);
    message.ifa_scope = RT_SCOPE_UNIVERSE;
    message.ifa_index = index;
    Request request(RTM_NEWADDR, NLM_F_CREATE | (replace ? NLM_F_REPLACE : NLM_F_EXCL), &message,
                    sizeof message);
    request.add(IFA_LOCAL, local);
    request.add(IFA_ADDRESS, local);
    // "broadcast +": every host bit set.
    request.add(IFA_BROADCAST, local | htonl(0xffffffffu >> prefix));
    return request.send();
}

std::optional<Done> appendDefaultRouteOverNetlink(const std::string& ifname,
                                                  const std::string& gateway, int metric) {
    const unsigned index = ::if_nametoindex(ifname.c_str());
    const auto via = parseIpv4(gateway);
    if (index == 0 || !via) {
        return std::nullopt;
    }
    rtmsg message{};
    message.rtm_family = AF_INET;
    message.rtm_table = RT_TABLE_MAIN;
    message.rtm_protocol = RTPROT_BOOT;
    message.rtm_scope = RT_SCOPE_UNIVERSE;
    message.rtm_type = RTN_UNICAST;
    Request request(RTM_NEWROUTE, NLM_F_CREATE | NLM_F_APPEND, &message, sizeof message);
    request.add(RTA_GATEWAY, htonl(*via));
    request.add(RTA_OIF, index);
    if (metric >= 0) {
        request.add(RTA_PRIORITY, static_cast<std::uint32_t>(metric));
    }
    return request.send();
}

}  // namespace quorrel::netsh
