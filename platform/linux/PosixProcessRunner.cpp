#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/ProcessRunner.h"
#include "platform/linux/NetshRights.h"
#include "system/CommandLine.h"
#include "system/linux/ChildPipeWatch.h"
#include "system/linux/Pipe.h"
#include "system/linux/ProcessSpawn.h"
#include "system/linux/ProgramLookup.h"

namespace quorrel::platform {

namespace {

bool namesOurNetsh(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "netsh.exe" || name == "netsh";
}

void keepErrors(std::string& kept, const char* data, std::size_t size) {
    const std::size_t room =
        ProcessOutcome::kErrorTextLimit - std::min(kept.size(), ProcessOutcome::kErrorTextLimit);
    kept.append(data, std::min(size, room));
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

// Starts `program` and waits for it, collecting its standard error; standard output stays
// ours. A grandchild that keeps the error stream open does not hold the wait up: once the
// child has ended, only what is already in the pipe is read.
ProcessOutcome runCollectingErrors(const std::string& program,
                                   const std::vector<std::string>& args) {
    system::Pipe pipe;
    if (!pipe.isOpen()) {
        return ProcessOutcome::notStarted(pipe.error());
    }
    system::ChildSetup setup;
    setup.errorFd = pipe.writeEnd();
    setup.ownSession = true;
    const system::SpawnedChild child = system::startProgram(program, args, setup);
    pipe.closeWriteEnd();
    if (child.pid < 0) {
        return ProcessOutcome::notStarted(child.reason);
    }

    std::string errors;
    const system::ChildPipeEnd watched = system::watchChildPipe(
        pipe.readEnd(), child.pid,
        [&](const char* data, std::size_t size) { keepErrors(errors, data, size); });
    const int status = watched.status;
    if (!watched.reaped) {
        const system::ChildEnd end = system::waitForChild(child.pid);
        if (!end.waited) {
            return ProcessOutcome::waitFailed(end.reason);
        }
        return ProcessOutcome::exited(end.exitCode, trimmed(std::move(errors)));
    }
    const int code = WIFEXITED(status)     ? WEXITSTATUS(status)
                     : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                           : 0;
    return ProcessOutcome::exited(code, trimmed(std::move(errors)));
}

// The same netsh command line once more, started through pkexec so that polkit may grant
// the rights. `first` is netsh's own outcome: its reason stays in front of pkexec's.
ProcessOutcome runWithRights(const std::string& netsh, const std::vector<std::string>& args,
                             const ProcessOutcome& first) {
    if (!system::isExecutableFile(kPkexecPath)) {
        ProcessOutcome outcome = first;
        outcome.errorText += std::string(outcome.errorText.empty() ? "" : "\n") + kPkexecPath +
                             " is not installed, so the rights cannot be asked for";
        return outcome;
    }
    // The policy's action is found by the program's exact path, so the path is made plain.
    std::error_code ec;
    std::string path = std::filesystem::weakly_canonical(netsh, ec).string();
    if (ec || path.empty()) {
        path = netsh;
    }
    // No agent of pkexec's own: it would ask on a terminal the program does not have. A
    // desktop's authentication agent asks instead.
    std::vector<std::string> elevated = {kPkexecPath, "--disable-internal-agent", path};
    elevated.insert(elevated.end(), args.begin() + 1, args.end());
    ProcessOutcome outcome = runCollectingErrors(kPkexecPath, elevated);
    if (outcome.kind == ProcessOutcome::Kind::Exited && outcome.exitCode != 0) {
        outcome.errorText = first.errorText +
                            (first.errorText.empty() || outcome.errorText.empty() ? "" : "\n") +
                            outcome.errorText;
    }
    return outcome;
}

class PosixProcessRunner final : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& commandLine) override {
        const std::vector<std::string> args = system::splitCommandLine(commandLine);
        if (args.empty()) {
            return ProcessOutcome::notStarted("empty command line");
        }
        std::string reason;
        const std::string program =
            system::findProgram(args.front(), system::systemProgramLookup(), reason);
        if (program.empty()) {
            return ProcessOutcome::notStarted(reason);
        }
        ProcessOutcome outcome = runCollectingErrors(program, args);
        if (outcome.kind == ProcessOutcome::Kind::Exited &&
            outcome.exitCode == kNetshNeedsRightsExit && namesOurNetsh(args.front())) {
            return runWithRights(program, args, outcome);
        }
        return outcome;
    }
};

}  // namespace

std::unique_ptr<ProcessRunner> makeSystemProcessRunner() {
    return std::make_unique<PosixProcessRunner>();
}

}  // namespace quorrel::platform
