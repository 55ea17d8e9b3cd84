#pragma once

#include <memory>
#include <string>

#include "base/Expected.h"

namespace quorrel::netsh {

// An exclusive lock on a file (flock), which is created when missing. Held until the
// object goes; the kernel also lets go of it when the process ends, killed or not, so a
// lock can never be left behind.
class FileLock {
public:
    // Waits until the lock is ours. Fails when the file cannot be opened (a symbolic link
    // is not followed) or locked.
    static Expected<std::unique_ptr<FileLock>> acquire(const std::string& path);

    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace quorrel::netsh
