#include "system/linux/FileRead.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string_view>

namespace quorrel::system {

std::optional<std::string> readWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    std::array<char, 4096> chunk;
    const int error = readToEnd(fd, chunk, [&bytes](std::string_view piece) {
        bytes += piece;
        return true;
    });
    ::close(fd);
    if (error != 0) {
        return std::nullopt;
    }
    return bytes;
}

int readToEnd(int fd, std::span<char> buffer, const ByteSink& sink) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return errno;
        }
        if (got == 0 || !sink(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
            return 0;
        }
    }
}

}  // namespace quorrel::system
