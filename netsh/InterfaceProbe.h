#pragma once

#include <memory>
#include <string>

namespace quorrel::netsh {

// Whether a network interface of that name exists now.
class InterfaceProbe {
public:
    virtual ~InterfaceProbe() = default;
    virtual bool exists(const std::string& name) const = 0;
};

// Asks the kernel (in the network namespace this process runs in).
std::unique_ptr<InterfaceProbe> makeKernelInterfaceProbe();

}  // namespace quorrel::netsh
