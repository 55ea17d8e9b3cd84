#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace quorrel::platform {

// How a started command ended, as far as its starter can tell.
struct ProcessOutcome {
    enum class Kind {
        NotStarted,  // the program could not be found or started; `reason` says why
        WaitFailed,  // started, but waiting for its end failed; `reason` says why
        Exited,      // ended with `exitCode` (a child killed by a signal: 128 + signal)
    };
    Kind kind = Kind::NotStarted;
    int exitCode = 0;
    std::string reason;  // for the debugger output, not for the user
    // What the program wrote on standard error (its reason for failing), at most
    // kErrorTextLimit bytes of it, trailing line ends taken off; empty where the system's
    // runner does not collect it.
    std::string errorText;

    static constexpr std::size_t kErrorTextLimit = 4096;

    bool succeeded() const { return kind == Kind::Exited && exitCode == 0; }

    static ProcessOutcome notStarted(std::string why) {
        return {Kind::NotStarted, 0, std::move(why), {}};
    }
    static ProcessOutcome waitFailed(std::string why) {
        return {Kind::WaitFailed, 0, std::move(why), {}};
    }
    static ProcessOutcome exited(int code, std::string errors = {}) {
        return {Kind::Exited, code, {}, std::move(errors)};
    }
};

// Starts command lines as detached children, without a console of their own and without
// any of our handles, and waits for them. A command line is split into arguments by the
// Windows rules and never passed to a shell. The bare program name "netsh.exe" names the
// netsh program of this installation. Safe to use from any thread.
//
// On Linux the runner collects each child's standard error, and a netsh that reports it
// needs rights the user lacks (platform/linux/NetshRights.h) is started once more through
// pkexec; the outcome is then that of the second start, its reason text after netsh's.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Starts `commandLine` and blocks until the child has ended.
    virtual ProcessOutcome runAndWait(const std::string& commandLine) = 0;
};

std::unique_ptr<ProcessRunner> makeSystemProcessRunner();

}  // namespace quorrel::platform
