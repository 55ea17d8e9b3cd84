#include <unistd.h>

#include <cerrno>

#include "system/OutputCapture.h"
#include "system/linux/Pipe.h"
#include "system/linux/ProcessSpawn.h"

namespace quorrel::system {

namespace {

class PosixOutputCapture final : public OutputCapture {
public:
    explicit PosixOutputCapture(std::string commandLine) : commandLine_(std::move(commandLine)) {}

    CapturedOutput capture() override {
        CapturedOutput result;
        Pipe pipe;
        if (!pipe.isOpen()) {
            result.reason = pipe.error();
            return result;
        }
        const SpawnedChild child = spawnCommandLine(commandLine_, pipe.writeEnd());
        pipe.closeWriteEnd();
        if (child.pid < 0) {
            result.reason = child.reason;
            return result;
        }
        result.started = true;
        const int readFd = pipe.readEnd();
        result.text = collectChunks([readFd](char* buffer, std::size_t capacity) -> long {
            ssize_t count = -1;
            do {
                count = ::read(readFd, buffer, capacity);
            } while (count < 0 && errno == EINTR);
            return static_cast<long>(count);
        });
        // A child that closed its output early may go on running; it is not waited for.
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

}  // namespace quorrel::system
