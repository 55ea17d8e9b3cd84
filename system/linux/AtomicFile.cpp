#include "system/linux/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>

#include "system/linux/FdWrite.h"

namespace quorrel::system {

namespace {

constexpr std::string_view kTempMark = ".tmp-";
constexpr int kMaxLinks = 40;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string systemError(int code) {
    return std::strerror(code);
}

// Closes a descriptor when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset(other.fd_);
            other.fd_ = -1;
        }
        return *this;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    // Closes now and reports whether the close succeeded (it may report a late write error).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char noise[12];
    std::size_t got = 0;
    while (got < sizeof noise) {
        const ssize_t n = ::getrandom(noise + got, sizeof noise - got, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got < sizeof noise) {
        // No randomness to be had: the process and a counter still keep writers apart, and
        // a name that is taken already is simply tried again.
        static std::atomic<unsigned> counter{0};
        return std::to_string(::getpid()) + "-" + std::to_string(counter++);
    }
    std::string suffix;
    for (const unsigned char value : noise) {
        suffix += kLetters[value % (sizeof kLetters - 1)];
    }
    return suffix;
}

mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
        }
    }
    return 022;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the temporary files of earlier replaces of `name` whose writer is gone: a writer
// holds the lock of its temporary file from before the file has a name until it is renamed.
void sweepAbandoned(int dirFd, const std::string& name) {
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) {
        return;
    }
    DIR* dir = ::fdopendir(listFd);
    if (dir == nullptr) {
        ::close(listFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryNameOf(entry->d_name, name)) {
            continue;
        }
        Fd fd(::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {};
        if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
            continue;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;  // its writer is still at work
        }
        // Only the file that was locked goes, not one that took its name meanwhile.
        struct stat named {};
        if (::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(named, opened)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// What the replaced file keeps.
struct Keep {
    mode_t mode = 0;
    std::optional<std::pair<uid_t, gid_t>> owner;
};

Keep whatToKeep(int dirFd, const std::string& name) {
    Keep keep;
    struct stat old {};
    if (::fstatat(dirFd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode)) {
        keep.mode = old.st_mode & 07777;
        if (::geteuid() == 0) {
            keep.owner = std::make_pair(old.st_uid, old.st_gid);
        }
        return keep;
    }
    keep.mode = 0666 & ~currentUmask();
    struct stat folder {};
    if (::geteuid() == 0 && ::fstat(dirFd, &folder) == 0) {
        // Root writing into someone's folder leaves a file that person can replace again.
        keep.owner = std::make_pair(folder.st_uid, folder.st_gid);
    }
    return keep;
}

// Writes the new contents into an open file: the bytes of a replace, or a copy's source.
using Fill = std::function<bool(int fd)>;

bool fillAndFlush(int fd, const Fill& fill, const Keep& keep, bool durable, std::string& error) {
    if (keep.owner) {
        // Best effort: a root without the right to give files away still saves.
        [[maybe_unused]] const int ignored = ::fchown(fd, keep.owner->first, keep.owner->second);
    }
    if (::fchmod(fd, keep.mode) != 0 || !fill(fd) || (durable && ::fsync(fd) != 0)) {
        error = systemError(errno);
        return false;
    }
    return true;
}

// The unnamed way: write into an O_TMPFILE, then give it a temporary name. Returns the
// open, locked file and sets `tempName`; an invalid Fd with an empty `error` when the file
// system cannot do it, so that the named way is tried.
Fd writeUnnamed(int dirFd, const Fill& fill, const Keep& keep, bool durable, std::string& tempName,
                const std::string& name, std::string& error) {
    Fd fd(::openat(dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        return Fd();
    }
    ::flock(fd.get(), LOCK_EX);  // nobody else can reach the file yet
    if (!fillAndFlush(fd.get(), fill, keep, durable, error)) {
        return Fd();
    }
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd.get());
    for (int attempt = 0; attempt < 10; ++attempt) {
        tempName = "." + name + std::string(kTempMark) + randomSuffix();
        if (::linkat(AT_FDCWD, procPath.c_str(), dirFd, tempName.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return fd;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    tempName.clear();
    return Fd();  // no /proc, or linking refused: the named way writes the bytes again
}

// The named way: create ".<name>.tmp-<random>" exclusively, lock it, and make sure a sweep
// did not take it away between its creation and the lock.
Fd writeNamed(int dirFd, const Fill& fill, const Keep& keep, bool durable, std::string& tempName,
              const std::string& name, std::string& error) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        tempName = "." + name + std::string(kTempMark) + randomSuffix();
        Fd fd(::openat(dirFd, tempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0600));
        if (!fd.valid()) {
            if (errno == EEXIST) {
                continue;
            }
            error = systemError(errno);
            return Fd();
        }
        while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd.get(), &opened) != 0 ||
            ::fstatat(dirFd, tempName.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !sameFile(opened, named)) {
            continue;  // swept before it was locked: take another name
        }
        if (!fillAndFlush(fd.get(), fill, keep, durable, error)) {
            ::unlinkat(dirFd, tempName.c_str(), 0);
            return Fd();
        }
        return fd;
    }
    if (error.empty()) {
        error = systemError(EEXIST);
    }
    return Fd();
}

}  // namespace

bool isTemporaryNameOf(std::string_view fileName, std::string_view targetName) {
    const std::size_t prefix = 1 + targetName.size() + kTempMark.size();
    return fileName.size() > prefix && fileName.front() == '.' &&
           fileName.substr(1, targetName.size()) == targetName &&
           fileName.substr(1 + targetName.size(), kTempMark.size()) == kTempMark &&
           fileName.find('/', prefix) == std::string_view::npos;
}

std::string resolveFinalLink(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        // Only a link of the writer's own or of root is followed: one that another user
        // planted (a writer with root rights in a folder others can write to) is replaced
        // itself, never written through.
        if (info.st_uid != ::geteuid() && info.st_uid != 0) {
            return current;
        }
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1,
                           '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return current;
        }
        target.resize(static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : folderOf(current) + "/" + target;
    }
    return current;  // a loop: the rename below reports it
}

namespace {

bool replaceInFolder(int dirFd, const std::string& folder, const std::string& name,
                     const Fill& fill, std::string& error, const AtomicWriteOptions& options) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        error = systemError(EISDIR);
        return false;
    }
    sweepAbandoned(dirFd, name);
    const Keep keep = whatToKeep(dirFd, name);

    error.clear();
    std::string tempName;
    Fd temp = options.unnamedFirst
                  ? writeUnnamed(dirFd, fill, keep, options.durable, tempName, name, error)
                  : Fd();
    if (!temp.valid() && error.empty()) {
        temp = writeNamed(dirFd, fill, keep, options.durable, tempName, name, error);
    }
    if (!temp.valid()) {
        return false;
    }
    if (options.beforeRename) {
        options.beforeRename(folder + "/" + tempName);
    }
    if (::renameat(dirFd, tempName.c_str(), dirFd, name.c_str()) != 0) {
        error = systemError(errno);
        ::unlinkat(dirFd, tempName.c_str(), 0);
        return false;
    }
    // The new name must survive a power cut as well as the bytes.
    if (options.durable) {
        ::fsync(dirFd);
    }
    temp.close();
    return true;
}

bool replaceAtPath(const std::string& path, const Fill& fill, std::string& error,
                   const AtomicWriteOptions& options) {
    const std::string target = options.followLink ? resolveFinalLink(path) : path;
    Fd dir(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) {
        error = systemError(errno);
        return false;
    }
    return replaceInFolder(dir.get(), folderOf(target), nameOf(target), fill, error, options);
}

Fill bytesFill(std::string_view bytes) {
    return [bytes](int fd) { return writeAllToFd(fd, bytes); };
}

// Writes the pieces of `source` one after another and stops it at the first piece that
// cannot be written; errno is then that write's, whatever the source did afterwards.
Fill sourceFill(const ByteSource& source) {
    return [&source](int fd) {
        int failedWith = 0;
        source([fd, &failedWith](std::string_view piece) {
            if (failedWith == 0 && !writeAllToFd(fd, piece)) {
                failedWith = errno != 0 ? errno : EIO;
            }
            return failedWith == 0;
        });
        errno = failedWith;
        return failedWith == 0;
    };
}

}  // namespace

Done replaceFileAtomically(const std::string& path, std::string_view bytes,
                           const AtomicWriteOptions& options) {
    std::string error;
    return replaceAtPath(path, bytesFill(bytes), error, options) ? Done{} : failure(error);
}

Done replaceFileAtomicallyFrom(const std::string& path, const ByteSource& source,
                               const AtomicWriteOptions& options) {
    std::string error;
    return replaceAtPath(path, sourceFill(source), error, options) ? Done{} : failure(error);
}

Done copyFileAtomically(const std::string& from, const std::string& to,
                        const AtomicWriteOptions& options) {
    Fd source(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!source.valid() || ::fstat(source.get(), &info) != 0) {
        return failure(systemError(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return failure("not a regular file");
    }
    std::string error;
    return replaceAtPath(
               to, [&source](int fd) { return copyAllToFd(source.get(), fd); }, error, options)
               ? Done{}
               : failure(error);
}

Done flushFileAndFolder(const std::string& path) {
    Fd dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) {
        return failure(systemError(errno));
    }
    Fd file(::openat(dir.get(), nameOf(path).c_str(),
                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid() && errno != ENOENT) {
        return failure(systemError(errno));
    }
    if ((file.valid() && ::fsync(file.get()) != 0) || ::fsync(dir.get()) != 0) {
        return failure(systemError(errno));
    }
    return {};
}

Done replaceFileAtomicallyAt(int dirFd, const std::string& name, std::string_view bytes,
                             const AtomicWriteOptions& options) {
    std::string error;
    return replaceInFolder(dirFd, "/proc/self/fd/" + std::to_string(dirFd), name, bytesFill(bytes),
                           error, options)
               ? Done{}
               : failure(error);
}

}  // namespace quorrel::system
