#include <net/if.h>

#include "netsh/InterfaceProbe.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

namespace {

class KernelInterfaceProbe final : public InterfaceProbe {
public:
    bool exists(const std::string& name) const override {
        return platform::isValidInterfaceName(name) && ::if_nametoindex(name.c_str()) != 0;
    }
};

}  // namespace

std::unique_ptr<InterfaceProbe> makeKernelInterfaceProbe() {
    return std::make_unique<KernelInterfaceProbe>();
}

}  // namespace quorrel::netsh
