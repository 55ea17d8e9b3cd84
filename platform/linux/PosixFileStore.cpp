#include "platform/linux/PosixFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/FileStore.h"
#include "system/linux/AtomicFile.h"

namespace quorrel::platform {

FileRead PosixFileStore::read(const std::string& path) {
    FileRead result;
    // Without waiting: a pipe or a device by the file's name is not a file to read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A dangling link counts as missing too: the first save creates its target.
        if (errno == ENOENT) {
            return result;
        }
        result.status = FileRead::Status::Unreadable;
        result.error = std::strerror(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        ::close(fd);
        result.status = FileRead::Status::Unreadable;
        result.error = "not a regular file";
        return result;
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.status = FileRead::Status::Unreadable;
            result.error = std::strerror(errno);
            result.bytes.clear();
            ::close(fd);
            return result;
        }
        if (n == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.status = FileRead::Status::Read;
    return result;
}

Done PosixFileStore::writeAtomicallyFrom(const std::string& path, const ByteSource& source) {
    system::AtomicWriteOptions options;
    options.beforeRename = beforeRename_;
    return system::replaceFileAtomicallyFrom(path, source, options);
}

bool PosixFileStore::copyFile(const std::string& from, const std::string& to) {
    // The kernel copies: the bytes never pass through this program.
    system::AtomicWriteOptions options;
    options.beforeRename = beforeRename_;
    return system::copyFileAtomically(from, to, options).ok();
}

std::unique_ptr<FileStore> makeSystemFileStore() {
    return std::make_unique<PosixFileStore>();
}

}  // namespace quorrel::platform
