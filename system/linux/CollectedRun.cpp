#include "system/linux/CollectedRun.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "system/linux/Pipe.h"
#include "system/linux/ProcessSpawn.h"

namespace quorrel::system {

namespace {

// How often a running program is looked at while it writes nothing.
constexpr int kPollMilliseconds = 50;
constexpr std::size_t kReadSize = 4096;

}  // namespace

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

    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    bool ended = false;
    std::array<char, kReadSize> buffer{};
    while (true) {
        pollfd ready{pipe.readEnd(), POLLIN, 0};
        if (::poll(&ready, 1, ended ? 0 : kPollMilliseconds) > 0) {
            const ssize_t count = ::read(pipe.readEnd(), buffer.data(), buffer.size());
            if (count > 0) {
                result.output.append(buffer.data(), static_cast<std::size_t>(count));
                continue;
            }
            if (count == 0) {
                break;
            }
        }
        if (ended) {
            break;
        }
        if (::waitpid(child.pid, &status, WNOHANG) == child.pid) {
            ended = true;
            continue;
        }
        if (options.timeLimit && std::chrono::steady_clock::now() - start > *options.timeLimit) {
            ::kill(child.pid, SIGKILL);
            waitForChild(child.pid);
            result.timedOut = true;
            return result;
        }
    }
    if (ended) {
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }
    const ChildEnd end = waitForChild(child.pid);
    if (end.waited && !end.signalled) {
        result.exitCode = end.exitCode;
    }
    return result;
}

}  // namespace quorrel::system
