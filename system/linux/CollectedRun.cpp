#include "system/linux/CollectedRun.h"

#include <sys/wait.h>

#include "system/linux/ChildPipeWatch.h"
#include "system/linux/Pipe.h"
#include "system/linux/ProcessSpawn.h"

namespace quorrel::system {

CollectedRun runCollectingOutput(const std::string& program, const std::vector<std::string>& argv,
                                 const CollectOptions& options) {
    CollectedRun result;
    Pipe pipe;
    if (!pipe.isOpen()) {
        result.reason = pipe.error();
        return result;
    }
    ChildSetup setup;
    setup.outputFd = pipe.writeEnd();
    setup.errorsWithOutput = options.withErrors;
    setup.environment = options.environment;
    const SpawnedChild child = startProgram(program, argv, setup);
    pipe.closeWriteEnd();
    if (child.pid < 0) {
        result.reason = child.reason;
        return result;
    }
    result.started = true;

    const ChildPipeEnd watched = watchChildPipe(
        pipe.readEnd(), child.pid,
        [&](const char* data, std::size_t size) { result.output.append(data, size); },
        options.timeLimit);
    if (watched.timedOut) {
        result.timedOut = true;
        return result;
    }
    if (watched.reaped) {
        result.exitCode = WIFEXITED(watched.status) ? WEXITSTATUS(watched.status) : -1;
        return result;
    }
    const ChildEnd end = waitForChild(child.pid);
    if (end.waited && !end.signalled) {
        result.exitCode = end.exitCode;
    }
    return result;
}

}  // namespace quorrel::system
