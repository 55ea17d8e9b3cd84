#include "platform/ProcessRunner.h"
#include "system/linux/ProcessSpawn.h"

namespace quorrel::platform {

namespace {

class PosixProcessRunner final : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& commandLine) override {
        const system::SpawnedChild child = system::spawnCommandLine(commandLine, -1);
        if (child.pid < 0) {
            return ProcessOutcome::notStarted(child.reason);
        }
        const system::ChildEnd end = system::waitForChild(child.pid);
        if (!end.waited) {
            return ProcessOutcome::waitFailed(end.reason);
        }
        return ProcessOutcome::exited(end.exitCode);
    }
};

}  // namespace

std::unique_ptr<ProcessRunner> makeSystemProcessRunner() {
    return std::make_unique<PosixProcessRunner>();
}

}  // namespace quorrel::platform
