#include "platform/linux/PosixFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/FileStore.h"
#include "system/linux/AtomicFile.h"
#include "system/linux/FileRead.h"

namespace quorrel::platform {

FileReadOutcome PosixFileStore::readInPieces(const std::string& path, const ByteSink& sink) {
    FileReadOutcome result;
    // Without waiting: a pipe or a device by the file's name is not a file to read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A dangling link counts as missing too: the first save creates its target.
        if (errno == ENOENT) {
            return result;
        }
        result.status = FileReadOutcome::Status::Unreadable;
        result.error = std::strerror(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        ::close(fd);
        result.status = FileReadOutcome::Status::Unreadable;
        result.error = "not a regular file";
        return result;
    }
    // A folder opens, even for root; the read fails then (EISDIR) and says so.
    std::array<char, kFileReadPieceBytes> buffer;
    const int error = system::readToEnd(fd, buffer, sink);
    ::close(fd);
    if (error != 0) {
        result.status = FileReadOutcome::Status::Unreadable;
        result.error = std::strerror(error);
        return result;
    }
    result.status = FileReadOutcome::Status::Read;
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
