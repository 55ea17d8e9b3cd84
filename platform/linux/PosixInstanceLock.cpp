#include "platform/linux/PosixInstanceLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace quorrel::platform {

namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string cacheHome() {
    // Root keeps to its own home: a folder made in a user's home would be root's there.
    if (::geteuid() != 0) {
        if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg == '/') {
            return xdg;
        }
        if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
            return std::string(home) + "/.cache";
        }
    }
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir) {
        return std::string(entry->pw_dir) + "/.cache";
    }
    return {};
}

// Makes `folder` private to the user when it does not exist, and says whether it is.
bool privateFolderAt(const std::string& folder) {
    ::mkdir(folder.c_str(), 0700);
    return isPrivateFolder(folder);
}

}  // namespace

bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string chooseRuntimeFolder(const RuntimeFolderPlaces& places) {
    if (!places.xdgRuntimeDir.empty() && places.xdgRuntimeDir.front() == '/') {
        return withSlash(places.xdgRuntimeDir);
    }
    const std::string shared =
        withSlash(places.tempRoot) + "quorrel-" + std::to_string(::geteuid());
    if (privateFolderAt(shared)) {
        return shared + '/';
    }
    if (!places.cacheHome.empty() && places.cacheHome.front() == '/') {
        std::error_code ignored;
        std::filesystem::create_directories(places.cacheHome, ignored);
        const std::string cached = withSlash(places.cacheHome) + "quorrel-runtime";
        if (privateFolderAt(cached)) {
            return cached + '/';
        }
    }
    // Nowhere else: a folder of this process alone. A second start cannot find this one
    // then, but nobody can interfere with it either.
    static const std::string fresh = [&] {
        std::string pattern = shared + "-XXXXXX";
        return ::mkdtemp(pattern.data()) != nullptr ? pattern + '/' : std::string();
    }();
    return fresh;
}

std::string runtimeFolder() {
    RuntimeFolderPlaces places;
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr) {
        places.xdgRuntimeDir = xdg;
    }
    places.tempRoot = "/tmp";
    places.cacheHome = cacheHome();
    return chooseRuntimeFolder(places);
}

PosixInstanceLock::~PosixInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

LockResult PosixInstanceLock::acquire(const std::string& name) {
    const std::string path = folder_ + name + ".lock";
    // A link planted at the lock's name is never followed.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
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
