#include "netsh/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern char** environ;

namespace quorrel::netsh {

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& t : texts) {
        result.push_back(t.data());
    }
    result.push_back(nullptr);
    return result;
}

std::vector<std::string> environmentWith(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        const std::string entry(*e);
        const std::string key = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const auto& x : extra) {
            replaced = replaced || x.compare(0, key.size(), key) == 0;
        }
        if (!replaced) {
            result.push_back(entry);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

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
        return ::access(name.c_str(), X_OK) == 0 ? std::optional<std::string>(name) : std::nullopt;
    }
    std::vector<std::string> folders;
    if (const char* path = std::getenv("PATH")) {
        std::istringstream in(path);
        for (std::string folder; std::getline(in, folder, ':');) {
            if (!folder.empty()) {
                folders.push_back(folder);
            }
        }
    }
    for (const char* f : {"/usr/sbin", "/sbin", "/usr/bin", "/bin"}) {
        folders.emplace_back(f);
    }
    for (const auto& folder : folders) {
        const std::string candidate = folder + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

RunResult runAndCollect(const std::vector<std::string>& argv) {
    RunResult result;
    int fds[2];
    if (argv.empty() || ::pipe2(fds, O_CLOEXEC) != 0) {
        result.output = "cannot create a pipe";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    std::vector<std::string> args = argv;
    auto argp = pointersTo(args);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        result.output = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return result;
    }
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            result.output.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::optional<pid_t> startDetached(const std::vector<std::string>& argv,
                                   const std::vector<std::string>& extraEnv,
                                   const std::string& logPath, std::string& error) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    std::vector<std::string> args = argv;
    std::vector<std::string> env = environmentWith(extraEnv);
    auto argp = pointersTo(args);
    auto envp = pointersTo(env);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, argp[0], &actions, &attributes, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        error = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return std::nullopt;
    }
    return pid;
}

std::string ownExecutablePath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::unique_ptr<CommandRunner> makeProcessCommandRunner() {
    return std::make_unique<ProcessCommandRunner>();
}

}  // namespace quorrel::netsh
