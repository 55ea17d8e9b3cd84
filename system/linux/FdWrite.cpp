#include "system/linux/FdWrite.h"

#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>

namespace quorrel::system {

bool writeAllToFd(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

namespace {

// Errors after which another way of copying may still work.
bool otherWayMayWork(int code) {
    return code == EXDEV || code == EINVAL || code == ENOSYS || code == EOPNOTSUPP ||
           code == EBADF || code == EPERM || code == ETXTBSY;
}

constexpr std::size_t kChunk = 1 << 20;

enum class Copied { All, Failed, NotThisWay };

// One of the kernel's ways: `step` copies the next chunk from the source offset it is
// given. The ways end at the source's end (a return of 0). A way that does not work here
// puts `to` back as it found it, so that the next way starts over.
template <typename Step>
Copied kernelCopy(int to, off_t start, Step step) {
    off_t in = 0;
    for (;;) {
        const ssize_t n = step(&in);
        if (n > 0) {
            continue;
        }
        if (n == 0 && in > 0) {
            return Copied::All;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && !otherWayMayWork(errno)) {
            return Copied::Failed;
        }
        // Not supported here, or nothing copied (files of /proc read as empty this way).
        if (in != 0 && (::lseek(to, start, SEEK_SET) < 0 || ::ftruncate(to, start) != 0)) {
            return Copied::Failed;
        }
        return Copied::NotThisWay;
    }
}

}  // namespace

bool copyAllToFd(int from, int to) {
    const off_t start = ::lseek(to, 0, SEEK_CUR);
    if (start < 0) {
        return false;
    }
    for (const auto way :
         {+[](int f, int t, off_t*in) { return ::copy_file_range(f, in, t, nullptr, kChunk, 0); },
          +[](int f, int t, off_t*in) { return ::sendfile(t, f, in, kChunk); }}) {
        const Copied copied = kernelCopy(to, start, [&](off_t* in) { return way(from, to, in); });
        if (copied != Copied::NotThisWay) {
            return copied == Copied::All;
        }
    }
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (!writeAllToFd(to, std::string_view(buffer, static_cast<std::size_t>(n)))) {
            return false;
        }
        at += n;
    }
}

}  // namespace quorrel::system
