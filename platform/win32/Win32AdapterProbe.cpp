#include <windows.h>
// windows.h first: iphlpapi.h relies on its types.
#include <iphlpapi.h>

#include "platform/AdapterProbe.h"

namespace quorrel::platform {

namespace {

class Win32AdapterProbe final : public AdapterProbe {
public:
    // Asked without a buffer, GetAdaptersInfo writes the size the adapter table needs; it
    // stays 0 when there is no adapter. The call's own result is not looked at.
    bool hasAdapter() override {
        ULONG size = 0;
        ::GetAdaptersInfo(nullptr, &size);
        return size != 0;
    }
};

}  // namespace

std::unique_ptr<AdapterProbe> makeSystemAdapterProbe() {
    return std::make_unique<Win32AdapterProbe>();
}

}  // namespace quorrel::platform
