#pragma once

#include <memory>
#include <string>

namespace quorrel::platform {

// The single-instance lock. The process that takes it holds it until it ends (or until
// the lock object goes); a second taker learns that it already exists.
//   Windows: the named mutex, CreateMutexA + GetLastError() == ERROR_ALREADY_EXISTS.
//   Linux:   an exclusive flock on "<name>.lock" in the user's runtime folder, opened
//            without following a symbolic link.
enum class LockResult {
    Acquired,       // this process is the first instance
    AlreadyExists,  // another process holds the lock
    Failed,         // the lock could not be made for another reason
};

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    virtual LockResult acquire(const std::string& name) = 0;
};

std::unique_ptr<InstanceLock> makeSystemInstanceLock();

// The folder of the lock and of the instance channel on Linux: $XDG_RUNTIME_DIR when it
// names an absolute folder, else a folder no other user can write into: /tmp/quorrel-<uid>
// when it is the user's own and private, else one in the user's cache folder. Ends in the
// folder separator.
std::string runtimeFolder();

}  // namespace quorrel::platform
