#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"
#include "netsh/KernelAddressing.h"

namespace quorrel::netsh {

struct RunResult {
    int exitCode = -1;   // -1 when the program could not be started or did not exit normally
    std::string output;  // what it wrote on standard output and standard error
};

// Runs a program with arguments (never through a shell) and waits for it.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual RunResult run(const std::vector<std::string>& argv) = 0;

    // What the kernel that the commands change shows of the interface now, read without a
    // command; nothing when it cannot be read so (the commands then read it themselves).
    virtual std::optional<KernelAddressing> kernelAddressing(const std::string& ifname) {
        (void)ifname;
        return std::nullopt;
    }

    // The change of IpRoute::addAddress / replaceAddress and of IpRoute::addDefaultRoute,
    // made in the kernel without a command; nothing when it cannot be made so (the command
    // then runs).
    virtual std::optional<Done> setAddress(const std::string& ifname, const std::string& address,
                                           int prefix, bool replace) {
        (void)ifname, (void)address, (void)prefix, (void)replace;
        return std::nullopt;
    }
    virtual std::optional<Done> appendDefaultRoute(const std::string& ifname,
                                                   const std::string& gateway, int metric) {
        (void)ifname, (void)gateway, (void)metric;
        return std::nullopt;
    }
};

// Starts the programs for real; argv[0] is looked up with findProgram in `searchPath`.
std::unique_ptr<CommandRunner> makeProcessCommandRunner(std::string searchPath);

}  // namespace quorrel::netsh
