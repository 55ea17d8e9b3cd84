#include "netsh/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorrel::netsh {

Expected<std::unique_ptr<FileLock>> FileLock::acquire(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return failure("cannot open " + path + ": " + std::strerror(errno));
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            std::string why = "cannot lock " + path + ": " + std::strerror(errno);
            ::close(fd);
            return failure(std::move(why));
        }
    }
    return std::unique_ptr<FileLock>(new FileLock(fd));
}

FileLock::~FileLock() {
    ::close(fd_);  // lets go of the lock
}

}  // namespace quorrel::netsh
