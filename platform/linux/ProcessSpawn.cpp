#include "platform/linux/ProcessSpawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/ProcessCommandLine.h"
#include "platform/linux/ProcessProgramLookup.h"

extern char** environ;

namespace quorrel::platform {

namespace {

// Owns the spawn attributes and file actions for one start.
class SpawnSetup {
public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attr_);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    int prepare(int outputFd) {
        if (int error =
                ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0)) {
            return error;
        }
        if (outputFd >= 0) {
            if (int error = ::posix_spawn_file_actions_adddup2(&actions_, outputFd, 1)) {
                return error;
            }
        }
        if (int error = ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3)) {
            return error;
        }
        // A fresh session, no blocked signals and default dispositions: the child must not
        // inherit what a thread of ours happens to block or ignore.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attr_, &none);
        ::posix_spawnattr_setsigdefault(&attr_, &all);
        return ::posix_spawnattr_setflags(
            &attr_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attr() const { return &attr_; }

private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attr_{};
};

}  // namespace

SpawnedChild spawnCommandLine(const std::string& commandLine, int outputFd) {
    SpawnedChild child;
    std::vector<std::string> args = splitCommandLine(commandLine);
    if (args.empty()) {
        child.reason = "empty command line";
        return child;
    }
    const std::string program = findProgram(args.front(), systemProgramLookup(), child.reason);
    if (program.empty()) {
        return child;
    }

    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    SpawnSetup setup;
    int error = setup.prepare(outputFd);
    if (error == 0) {
        pid_t pid = -1;
        error = ::posix_spawn(&pid, program.c_str(), setup.actions(), setup.attr(), argv.data(),
                              environ);
        if (error == 0) {
            child.pid = pid;
            return child;
        }
    }
    child.reason = "cannot start " + program + ": " + std::strerror(error);
    return child;
}

ChildEnd waitForChild(pid_t pid) {
    ChildEnd end;
    int status = 0;
    pid_t result = -1;
    do {
        result = ::waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    if (result != pid) {
        end.reason = std::string("waiting for the child failed: ") + std::strerror(errno);
        return end;
    }
    end.waited = true;
    if (WIFEXITED(status)) {
        end.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        end.exitCode = 128 + WTERMSIG(status);
    }
    return end;
}

}  // namespace quorrel::platform
