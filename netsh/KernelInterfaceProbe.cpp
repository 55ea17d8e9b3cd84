#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "netsh/InterfaceProbe.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

namespace {

class KernelInterfaceProbe final : public InterfaceProbe {
public:
    bool exists(const std::string& name) const override {
        return platform::isValidInterfaceName(name) && ::if_nametoindex(name.c_str()) != 0;
    }

    bool isLoopback(const std::string& name) const override {
        if (!platform::isValidInterfaceName(name)) {
            return false;
        }
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return false;
        }
        ifreq request{};
        std::memcpy(request.ifr_name, name.c_str(), name.size());
        const bool loopback =
            ::ioctl(fd, SIOCGIFFLAGS, &request) == 0 && (request.ifr_flags & IFF_LOOPBACK) != 0;
        ::close(fd);
        return loopback;
    }
};

}  // namespace

std::unique_ptr<InterfaceProbe> makeKernelInterfaceProbe() {
    return std::make_unique<KernelInterfaceProbe>();
}

}  // namespace quorrel::netsh
