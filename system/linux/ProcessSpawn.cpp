#include "system/linux/ProcessSpawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include "system/CommandLine.h"
#include "system/linux/ProgramLookup.h"

extern char** environ;

namespace quorrel::system {

namespace {

constexpr int kFirstOwnDescriptor = 3;
constexpr mode_t kOutputFileMode = 0644;
constexpr int kSignalExitBase = 128;

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

    int prepare(const ChildSetup& setup) {
        if (int error =
                ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0)) {
            return error;
        }
        if (!setup.outputFile.empty()) {
            if (int error = ::posix_spawn_file_actions_addopen(
                    &actions_, 1, setup.outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                    kOutputFileMode)) {
                return error;
            }
        } else if (setup.outputFd >= 0) {
            if (int error = ::posix_spawn_file_actions_adddup2(&actions_, setup.outputFd, 1)) {
                return error;
            }
        }
        if (setup.errorFd >= 0) {
            if (int error = ::posix_spawn_file_actions_adddup2(&actions_, setup.errorFd, 2)) {
                return error;
            }
        } else if (setup.errorsWithOutput) {
            if (int error = ::posix_spawn_file_actions_adddup2(&actions_, 1, 2)) {
                return error;
            }
        }
        if (int error =
                ::posix_spawn_file_actions_addclosefrom_np(&actions_, kFirstOwnDescriptor)) {
            return error;
        }
        // No blocked signals and default dispositions: the child must not inherit what a
        // thread of ours happens to block or ignore.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attr_, &none);
        ::posix_spawnattr_setsigdefault(&attr_, &all);
        int flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (setup.ownSession) {
            flags |= POSIX_SPAWN_SETSID;
        }
        return ::posix_spawnattr_setflags(&attr_, static_cast<short>(flags));
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attr() const { return &attr_; }

private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attr_{};
};

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::vector<std::string> environmentWith(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string key = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& mine : extra) {
            replaced = replaced || mine.compare(0, key.size(), key) == 0;
        }
        if (!replaced) {
            result.push_back(text);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

SpawnedChild startProgram(const std::string& program, const std::vector<std::string>& argv,
                          const ChildSetup& setup) {
    SpawnedChild child;
    if (argv.empty()) {
        child.reason = "no arguments for " + program;
        return child;
    }
    std::vector<std::string> args = argv;
    std::vector<char*> argp = pointersTo(args);
    std::vector<std::string> env;
    std::vector<char*> envp;
    if (!setup.environment.empty()) {
        env = environmentWith(setup.environment);
        envp = pointersTo(env);
    }

    SpawnSetup spawn;
    int error = spawn.prepare(setup);
    if (error == 0) {
        pid_t pid = -1;
        error = ::posix_spawn(&pid, program.c_str(), spawn.actions(), spawn.attr(), argp.data(),
                              envp.empty() ? environ : envp.data());
        if (error == 0) {
            child.pid = pid;
            return child;
        }
    }
    child.reason = "cannot start " + program + ": " + std::strerror(error);
    return child;
}

SpawnedChild spawnCommandLine(const std::string& commandLine, int outputFd) {
    SpawnedChild child;
    const std::vector<std::string> args = splitCommandLine(commandLine);
    if (args.empty()) {
        child.reason = "empty command line";
        return child;
    }
    const std::string program = findProgram(args.front(), systemProgramLookup(), child.reason);
    if (program.empty()) {
        return child;
    }
    ChildSetup setup;
    setup.outputFd = outputFd;
    setup.ownSession = true;
    return startProgram(program, args, setup);
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
        end.signalled = true;
        end.exitCode = kSignalExitBase + WTERMSIG(status);
    }
    return end;
}

void reapLater(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) != 0) {
        return;
    }
    try {
        std::thread([pid] { waitForChild(pid); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until we end.
    }
}

}  // namespace quorrel::system
