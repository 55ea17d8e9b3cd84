#include "platform/linux/LinkAddress.h"

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>

namespace quorrel::platform {

std::string linkAddress(const std::string& ifname) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ifname.size() >= IFNAMSIZ) {
        if (fd >= 0) {
            ::close(fd);
        }
        return "";
    }
    ifreq request{};
    std::memcpy(request.ifr_name, ifname.c_str(), ifname.size());
    const bool read = ::ioctl(fd, SIOCGIFHWADDR, &request) == 0;
    ::close(fd);
    if (!read) {
        return "";
    }
    std::uint8_t bytes[6];
    std::memcpy(bytes, request.ifr_hwaddr.sa_data, sizeof bytes);
    return hexLinkAddress(bytes, sizeof bytes);
}

std::string hexLinkAddress(const std::uint8_t* bytes, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X", bytes[i]);
        text += (i == 0 ? "" : ":") + std::string(part);
    }
    return text;
}

bool sameLinkAddress(std::string a, std::string b) {
    for (auto* text : {&a, &b}) {
        for (char& c : *text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return a == b;
}

}  // namespace quorrel::platform
