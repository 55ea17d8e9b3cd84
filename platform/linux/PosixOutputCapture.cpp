#include <fcntl.h>
#include <poll.h>
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
    ~PosixOutputCapture() override { finish(); }
    PosixOutputCapture(const PosixOutputCapture&) = delete;
    PosixOutputCapture& operator=(const PosixOutputCapture&) = delete;

    bool start(std::string& reason) override {
        if (readFd_ >= 0 || child_ >= 0) {
            reason = "the command was started already";
            return false;
        }
        int fds[2] = {-1, -1};
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            reason = std::string("cannot create a pipe: ") + std::strerror(errno);
            return false;
        }
        const SpawnedChild child = spawnCommandLine(commandLine_, fds[1]);
        // Only the child holds the write end from here on, so its end is the end of data.
        ::close(fds[1]);
        if (child.pid < 0) {
            ::close(fds[0]);
            reason = child.reason;
            return false;
        }
        readFd_ = fds[0];
        child_ = child.pid;
        return true;
    }

    bool collect(const OutputPiece& piece, const StopRequest& stop) override {
        if (readFd_ < 0) {
            return false;
        }
        bool stopped = false;
        const int fd = readFd_;
        collectChunks(
            [fd, &stop, &stopped](char* buffer, std::size_t capacity) -> long {
                for (;;) {
                    if (stop) {
                        if (stop()) {
                            stopped = true;
                            return 0;
                        }
                        pollfd ready{fd, POLLIN, 0};
                        const int count = ::poll(&ready, 1, kCaptureStopCheckMs);
                        if (count == 0 || (count < 0 && errno == EINTR)) {
                            continue;
                        }
                        // Data, the end of it or an error: the read below does not block.
                    }
                    const ssize_t count = ::read(fd, buffer, capacity);
                    if (count < 0 && errno == EINTR) {
                        continue;
                    }
                    return static_cast<long>(count);
                }
            },
            piece);
        finish();
        return !stopped;
    }

private:
    // Our end of the pipe goes (a child still writing then gets a broken pipe); the child
    // is reaped whenever it ends.
    void finish() {
        if (readFd_ >= 0) {
            ::close(readFd_);
            readFd_ = -1;
        }
        if (child_ >= 0) {
            reapLater(child_);
            child_ = -1;
        }
    }

    std::string commandLine_;
    int readFd_ = -1;
    pid_t child_ = -1;
};

}  // namespace

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return std::make_unique<PosixOutputCapture>(std::move(commandLine));
}

std::unique_ptr<OutputCapture> makeStatusReportCapture() {
    return makeCommandCapture("ipconfig.exe /all");
}

}  // namespace quorrel::platform
