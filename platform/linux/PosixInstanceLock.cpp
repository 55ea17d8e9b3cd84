#include "platform/linux/PosixInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quorrel::platform {

std::string runtimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg == '/') {
        std::string folder = xdg;
        if (folder.back() != '/') {
            folder += '/';
        }
        return folder;
    }
    const std::string folder = "/tmp/quorrel-" + std::to_string(::getuid());
    // An existing folder is taken as it is; the lock file itself is private to the user.
    ::mkdir(folder.c_str(), 0700);
    return folder + '/';
}

PosixInstanceLock::~PosixInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

LockResult PosixInstanceLock::acquire(const std::string& name) {
    const std::string path = folder_ + name + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return LockResult::Failed;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? LockResult::AlreadyExists : LockResult::Failed;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    return LockResult::Acquired;
}

std::unique_ptr<InstanceLock> makeSystemInstanceLock() {
    return std::make_unique<PosixInstanceLock>(runtimeFolder());
}

}  // namespace quorrel::platform
