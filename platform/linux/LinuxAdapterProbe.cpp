#include <ifaddrs.h>
#include <net/if.h>

#include "platform/AdapterProbe.h"

namespace quorrel::platform {

namespace {

class LinuxAdapterProbe final : public AdapterProbe {
public:
    // Every interface appears in the list (with its link-layer entry even when it has no
    // address and is down), so one entry without the loopback flag is enough.
    bool hasAdapter() override {
        ifaddrs* list = nullptr;
        if (::getifaddrs(&list) != 0) {
            return false;
        }
        bool found = false;
        for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
            if ((entry->ifa_flags & IFF_LOOPBACK) == 0) {
                found = true;
                break;
            }
        }
        ::freeifaddrs(list);
        return found;
    }
};

}  // namespace

std::unique_ptr<AdapterProbe> makeSystemAdapterProbe() {
    return std::make_unique<LinuxAdapterProbe>();
}

}  // namespace quorrel::platform
