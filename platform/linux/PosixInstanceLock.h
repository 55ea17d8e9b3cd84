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

// Where runtimeFolder() looks, as given by the environment.
struct RuntimeFolderPlaces {
    std::string xdgRuntimeDir;  // $XDG_RUNTIME_DIR; empty when unset
    std::string tempRoot;       // the shared temporary folder, "/tmp"
    std::string cacheHome;      // the user's cache folder ($XDG_CACHE_HOME or ~/.cache)
};

// The runtime folder from these places, created when missing. A folder in the shared
// temporary folder is used only when it is a real folder of the effective user that no one
// else may write into: another user could otherwise make this program create files
// wherever a planted link points, or hold its lock for ever. Failing that, the folder
// "quorrel-runtime" in the cache folder, and as a last resort a fresh private folder in
// the temporary folder (made once per process).
std::string chooseRuntimeFolder(const RuntimeFolderPlaces& places);

// Whether `path` is a folder (not a link) owned by the effective user that neither its
// group nor others may write into.
bool isPrivateFolder(const std::string& path);

}  // namespace quorrel::platform
