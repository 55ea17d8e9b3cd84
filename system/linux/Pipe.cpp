#include "system/linux/Pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorrel::system {

Pipe::Pipe() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        error_ = std::string("cannot create a pipe: ") + std::strerror(errno);
        return;
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
}

Pipe::~Pipe() {
    closeWriteEnd();
    if (readEnd_ >= 0) {
        ::close(readEnd_);
    }
}

void Pipe::closeWriteEnd() {
    if (writeEnd_ >= 0) {
        ::close(writeEnd_);
        writeEnd_ = -1;
    }
}

}  // namespace quorrel::system
