#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/ProcessCapture.h"
#include "platform/linux/ProcessSpawn.h"

namespace quorrel::platform {

namespace {

// The child is reaped once it ends, without keeping the caller waiting for a child that
// closed its output early and goes on running.
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

class PosixOutputCapture final : public OutputCapture {
public:
    explicit PosixOutputCapture(std::string commandLine) : commandLine_(std::move(commandLine)) {}

    CapturedOutput capture() override {
        CapturedOutput result;
        int fds[2] = {-1, -1};
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            result.reason = std::string("cannot create a pipe: ") + std::strerror(errno);
            return result;
        }
        const SpawnedChild child = spawnCommandLine(commandLine_, fds[1]);
        // Only the child holds the write end from here on, so its end is the end of data.
        ::close(fds[1]);
        if (child.pid < 0) {
            ::close(fds[0]);
            result.reason = child.reason;
            return result;
        }
        result.started = true;
        const int readFd = fds[0];
        result.text = collectChunks([readFd](char* buffer, std::size_t capacity) -> long {
            ssize_t count = -1;
            do {
                count = ::read(readFd, buffer, capacity);
            } while (count < 0 && errno == EINTR);
            return static_cast<long>(count);
        });
        ::close(readFd);
        reapLater(child.pid);
        return result;
    }

private:
    std::string commandLine_;
};

}  // namespace

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return std::make_unique<PosixOutputCapture>(std::move(commandLine));
}

std::unique_ptr<OutputCapture> makeStatusReportCapture() {
    return makeCommandCapture("ipconfig.exe /all");
}

}  // namespace quorrel::platform
