#pragma once

#include <string>

#include "platform/InstanceLock.h"

namespace quorrel::platform {

// Exclusive, non-blocking flock on "<folder><name>.lock". The file stays open while the
// object lives; the kernel drops the lock when the process ends, however it ends.
class PosixInstanceLock final : public InstanceLock {
public:
    // `folder` ends in '/'.
    explicit PosixInstanceLock(std::string folder) : folder_(std::move(folder)) {}
    ~PosixInstanceLock() override;
    PosixInstanceLock(const PosixInstanceLock&) = delete;
    PosixInstanceLock& operator=(const PosixInstanceLock&) = delete;

    LockResult acquire(const std::string& name) override;

private:
    std::string folder_;
    int fd_ = -1;
};

}  // namespace quorrel::platform
