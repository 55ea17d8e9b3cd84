#pragma once

#include <memory>

namespace quorrel::platform {

// Whether the machine has a network adapter at all: on Windows, GetAdaptersInfo asked with
// a size of 0 reports a non-zero size; on Linux, at least one interface that is not a
// loopback interface exists (up or down).
class AdapterProbe {
public:
    virtual ~AdapterProbe() = default;
    virtual bool hasAdapter() = 0;
};

std::unique_ptr<AdapterProbe> makeSystemAdapterProbe();

}  // namespace quorrel::platform
