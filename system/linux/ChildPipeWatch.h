#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

namespace quorrel::system {

// How the watch over a child and the pipe it writes into ended.
struct ChildPipeEnd {
    // The child has ended and `status` is what waitpid gave for it.
    bool reaped = false;
    int status = 0;
    // It ran past the time limit and was killed and waited for.
    bool timedOut = false;
    // Neither: the pipe was closed first, and the child is still to be waited for.
};

// Reads the pipe `fd` into `keep` while the child `pid` runs, looking at the child every
// 50 ms while it writes nothing. A grandchild that keeps the pipe open does not hold the
// watch up: once the child has ended, only what is already in the pipe is read. A child
// still running after `timeLimit` is killed.
ChildPipeEnd watchChildPipe(int fd, pid_t pid,
                            const std::function<void(const char* data, std::size_t size)>& keep,
                            std::optional<std::chrono::milliseconds> timeLimit = std::nullopt);

}  // namespace quorrel::system
