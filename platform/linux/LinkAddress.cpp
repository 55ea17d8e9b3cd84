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
    std::string text;
    for (int i = 0; i < 6; ++i) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X",
                      static_cast<unsigned char>(request.ifr_hwaddr.sa_data[i]));
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
