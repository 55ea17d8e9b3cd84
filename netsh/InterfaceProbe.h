#pragma once

#include <memory>
#include <string>

namespace quorrel::netsh {

// What the kernel says about a network interface now.
class InterfaceProbe {
public:
    virtual ~InterfaceProbe() = default;
    virtual bool exists(const std::string& name) const = 0;
    // True for the loopback interface (lo), whatever its name.
    virtual bool isLoopback(const std::string& name) const = 0;
};

// Asks the kernel (in the network namespace this process runs in).
std::unique_ptr<InterfaceProbe> makeKernelInterfaceProbe();

}  // namespace quorrel::netsh
