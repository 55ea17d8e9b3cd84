#include "netsh/Process.h"

#include <cstdlib>

#include "system/OwnProgram.h"
#include "system/linux/CollectedRun.h"
#include "system/linux/ProcessSpawn.h"
#include "system/linux/ProgramLookup.h"

namespace quorrel::netsh {

namespace {

// Searched after PATH: a desktop session's PATH often lacks the sbin folders.
constexpr const char* kSystemFolders = "/usr/sbin:/sbin:/usr/bin:/bin";

class ProcessCommandRunner final : public CommandRunner {
public:
    RunResult run(const std::vector<std::string>& argv) override {
        if (argv.empty()) {
            return {};
        }
        const auto path = findProgram(argv[0]);
        if (!path) {
            return {-1, argv[0] + " is not installed"};
        }
        std::vector<std::string> full = argv;
        full[0] = *path;
        return runAndCollect(full);
    }
};

}  // namespace

std::optional<std::string> findProgram(const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return system::isExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    const std::string searchPath = std::string(path != nullptr ? path : "") + ":" + kSystemFolders;
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

std::optional<pid_t> startDetached(const std::vector<std::string>& argv,
                                   const std::vector<std::string>& extraEnv,
                                   const std::string& logPath, std::string& error) {
    system::ChildSetup setup;
    setup.outputFile = logPath;
    setup.errorsWithOutput = true;
    setup.ownSession = true;
    setup.environment = extraEnv;
    const system::SpawnedChild child =
        system::startProgram(argv.empty() ? std::string() : argv[0], argv, setup);
    if (child.pid < 0) {
        error = child.reason;
        return std::nullopt;
    }
    return child.pid;
}

std::string ownExecutablePath() {
    return system::ownProgramPath();
}

std::unique_ptr<CommandRunner> makeProcessCommandRunner() {
    return std::make_unique<ProcessCommandRunner>();
}

}  // namespace quorrel::netsh
