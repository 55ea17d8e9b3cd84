#include "system/linux/FileRead.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quorrel::system {

std::optional<std::string> readWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ::close(fd);
            if (got < 0) {
                return std::nullopt;
            }
            return bytes;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace quorrel::system
