#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "system/OutputCapture.h"
#include "system/linux/Pipe.h"
#include "system/linux/ProcessSpawn.h"

namespace quorrel::system {

namespace {

class PosixOutputCapture final : public OutputCapture {
public:
    explicit PosixOutputCapture(std::string commandLine) : commandLine_(std::move(commandLine)) {}
    ~PosixOutputCapture() override { finish(); }
    PosixOutputCapture(const PosixOutputCapture&) = delete;
    PosixOutputCapture& operator=(const PosixOutputCapture&) = delete;

    Done start() override {
        if (pipe_ || child_ >= 0) {
            return failure("the command was started already");
        }
        auto pipe = std::make_unique<Pipe>();
        if (!pipe->isOpen()) {
            return failure(pipe->error());
        }
        const SpawnedChild child = spawnCommandLine(commandLine_, pipe->writeEnd());
        pipe->closeWriteEnd();
        if (child.pid < 0) {
            return failure(child.reason);
        }
        pipe_ = std::move(pipe);
        child_ = child.pid;
        return {};
    }

    bool collect(const OutputPiece& piece, const StopRequest& stop) override {
        if (!pipe_) {
            return false;
        }
        bool stopped = false;
        const int fd = pipe_->readEnd();
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
    // Our end of the pipe goes (a child still writing then gets a broken pipe); a child
    // that closed its output early may go on running, and is reaped whenever it ends.
    void finish() {
        pipe_.reset();
        if (child_ >= 0) {
            reapLater(child_);
            child_ = -1;
        }
    }

    std::string commandLine_;
    std::unique_ptr<Pipe> pipe_;
    pid_t child_ = -1;
};

}  // namespace

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return std::make_unique<PosixOutputCapture>(std::move(commandLine));
}

}  // namespace quorrel::system
