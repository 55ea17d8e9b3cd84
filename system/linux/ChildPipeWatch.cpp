#include "system/linux/ChildPipeWatch.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "system/linux/ProcessSpawn.h"

namespace quorrel::system {

namespace {

// How often a running child is looked at while it writes nothing.
constexpr int kPollMilliseconds = 50;
constexpr std::size_t kReadSize = 4096;

}  // namespace

ChildPipeEnd watchChildPipe(int fd, pid_t pid,
                            const std::function<void(const char* data, std::size_t size)>& keep,
                            std::optional<std::chrono::milliseconds> timeLimit) {
    ChildPipeEnd end;
    const auto start = std::chrono::steady_clock::now();
    std::array<char, kReadSize> buffer{};
    while (true) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, end.reaped ? 0 : kPollMilliseconds) > 0) {
            const ssize_t count = ::read(fd, buffer.data(), buffer.size());
            if (count > 0) {
                keep(buffer.data(), static_cast<std::size_t>(count));
                continue;
            }
            if (count == 0) {
                return end;
            }
        }
        if (end.reaped) {
            return end;
        }
        if (::waitpid(pid, &end.status, WNOHANG) == pid) {
            end.reaped = true;
            continue;
        }
        if (timeLimit && std::chrono::steady_clock::now() - start > *timeLimit) {
            ::kill(pid, SIGKILL);
            waitForChild(pid);
            end.timedOut = true;
            return end;
        }
    }
}

}  // namespace quorrel::system
