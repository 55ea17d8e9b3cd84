#include "netsh/Process.h"

#include "netsh/KernelChange.h"
#include "system/OwnProgram.h"
#include "system/linux/CollectedRun.h"
#include "system/linux/ProcessSpawn.h"
#include "system/linux/ProgramLookup.h"

namespace quorrel::netsh {

namespace {

class ProcessCommandRunner final : public CommandRunner {
public:
    explicit ProcessCommandRunner(std::string searchPath) : searchPath_(std::move(searchPath)) {}

    RunResult run(const std::vector<std::string>& argv) override {
        if (argv.empty()) {
            return {};
        }
        const auto path = findProgram(argv[0], searchPath_);
        if (!path) {
            return {-1, argv[0] + " is not installed"};
        }
        std::vector<std::string> full = argv;
        full[0] = *path;
        return runAndCollect(full);
    }

    std::optional<KernelAddressing> kernelAddressing(const std::string& ifname) override {
        return readKernelAddressing(ifname);
    }

    std::optional<Done> setAddress(const std::string& ifname, const std::string& address,
                                   int prefix, bool replace) override {
        return setAddressOverNetlink(ifname, address, prefix, replace);
    }

    std::optional<Done> appendDefaultRoute(const std::string& ifname, const std::string& gateway,
                                           int metric) override {
        return appendDefaultRouteOverNetlink(ifname, gateway, metric);
    }

private:
    std::string searchPath_;
};

}  // namespace

std::optional<std::string> findProgram(const std::string& name, const std::string& searchPath) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return system::isExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    }
    const std::string found = system::findInSearchPath(name, searchPath);
    return found.empty() ? std::nullopt : std::optional<std::string>(found);
}

RunResult runAndCollect(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return {-1, "nothing to run"};
    }
    const system::CollectedRun run = system::runCollectingOutput(argv[0], argv);
    if (!run.started) {
        return {-1, run.reason};
    }
    return {run.exitCode, run.output};
}

Expected<pid_t> startDetached(const std::vector<std::string>& argv,
                              const std::vector<std::string>& extraEnv,
                              const std::string& logPath) {
    system::ChildSetup setup;
    setup.outputFile = logPath;
    setup.errorsWithOutput = true;
    setup.ownSession = true;
    setup.environment = extraEnv;
    const system::SpawnedChild child =
        system::startProgram(argv.empty() ? std::string() : argv[0], argv, setup);
    if (child.pid < 0) {
        return failure(child.reason);
    }
    return child.pid;
}

std::string ownExecutablePath() {
    return system::ownProgramPath();
}

std::unique_ptr<CommandRunner> makeProcessCommandRunner(std::string searchPath) {
    return std::make_unique<ProcessCommandRunner>(std::move(searchPath));
}

}  // namespace quorrel::netsh
