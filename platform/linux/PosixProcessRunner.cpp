#include "platform/ProcessRunner.h"
#include "platform/linux/ProcessSpawn.h"

namespace quorrel::platform {

namespace {

class PosixProcessRunner final : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& commandLine) override {
        const SpawnedChild child = spawnCommandLine(commandLine, -1);
        if (child.pid < 0) {
            return ProcessOutcome::notStarted(child.reason);
        }
        const ChildEnd end = waitForChild(child.pid);
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
