#pragma once

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

    bool succeeded() const { return kind == Kind::Exited && exitCode == 0; }

    static ProcessOutcome notStarted(std::string why) {
        return {Kind::NotStarted, 0, std::move(why)};
    }
    static ProcessOutcome waitFailed(std::string why) {
        return {Kind::WaitFailed, 0, std::move(why)};
    }
    static ProcessOutcome exited(int code) { return {Kind::Exited, code, {}}; }
};

// Starts command lines as detached children, without a console of their own and without
// any of our handles, and waits for them. A command line is split into arguments by the
// Windows rules and never passed to a shell. The bare program name "netsh.exe" names the
// netsh program of this installation. Safe to use from any thread.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Starts `commandLine` and blocks until the child has ended.
    virtual ProcessOutcome runAndWait(const std::string& commandLine) = 0;
};

std::unique_ptr<ProcessRunner> makeSystemProcessRunner();

}  // namespace quorrel::platform
