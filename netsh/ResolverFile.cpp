#include "netsh/ResolverFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>

#include "netsh/SafeFolder.h"
#include "system/linux/AtomicFile.h"
#include "system/linux/FdWrite.h"
#include "system/linux/OwnedFd.h"

namespace quorrel::netsh {

namespace {

constexpr int kMaxLinks = 40;

using Fd = system::OwnedFd;

std::string systemError() {
    return std::strerror(errno);
}

std::deque<std::string> namesOf(const std::string& path) {
    const std::vector<std::string> names = namesInPath(path);
    return {names.begin(), names.end()};
}

// The end of the walk: the folder that holds the file, its name, and the file itself when
// it exists.
struct Walked {
    Fd folder;
    std::string name;
    Fd file;
    std::string shown;  // the path as walked, for messages
};

class Walk {
public:
    Walk(std::string path, uid_t owner) : path_(std::move(path)), owner_(owner) {}

    // The end of the walk, or why the file is refused.
    Expected<Walked> run(int fileFlags) {
        if (path_.empty() || path_.front() != '/') {
            return refuse("it is not an absolute path");
        }
        std::deque<std::string> pending = namesOf(path_);
        if (pending.empty()) {
            return refuse("it is a folder");
        }
        Fd folder;
        bool othersMayWrite = false;
        if (Done entered = enterRoot(folder, othersMayWrite); !entered) {
            return failure(entered.error());
        }
        int links = 0;
        while (true) {
            const std::string name = pending.front();
            pending.pop_front();
            const bool last = pending.empty();
            if (name == "..") {
                Fd parent(::openat(folder.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                const auto slash = shown_.rfind('/');
                shown_ = slash == std::string::npos || slash == 0 ? "/" : shown_.substr(0, slash);
                if (Done entered = enter(parent, othersMayWrite); !entered) {
                    return failure(entered.error());
                }
                folder = std::move(parent);
                if (last) {
                    return refuse("it is a folder");
                }
                continue;
            }
            const std::string here = (shown_ == "/" ? "" : shown_) + "/" + name;
            struct stat info {};
            if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT && last) {
                    // A file still to be made, in a folder that is root's alone.
                    if (othersMayWrite) {
                        return refuse(shown_ + " may be changed by others than root");
                    }
                    return finish(std::move(folder), name, Fd(), here);
                }
                return refuse("cannot examine " + here + ": " + systemError());
            }
            if (S_ISLNK(info.st_mode)) {
                if (!ownedRight(info)) {
                    return refuse(here + " is a symbolic link of another user");
                }
                if (++links > kMaxLinks) {
                    return refuse("too many symbolic links");
                }
                std::string target;
                if (auto problem = readLink(folder.get(), name, info, target); !problem.empty()) {
                    return refuse("cannot read the link " + here + ": " + problem);
                }
                std::deque<std::string> more = namesOf(target);
                pending.insert(pending.begin(), more.begin(), more.end());
                if (pending.empty()) {
                    return refuse(here + " leads to a folder");
                }
                if (target.front() == '/') {
                    if (Done entered = enterRoot(folder, othersMayWrite); !entered) {
                        return failure(entered.error());
                    }
                }
                continue;
            }
            if (S_ISDIR(info.st_mode)) {
                if (last) {
                    return refuse(here + " is a folder");
                }
                Fd next(::openat(folder.get(), name.c_str(),
                                 O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                shown_ = here;
                if (Done entered = enter(next, othersMayWrite); !entered) {
                    return failure(entered.error());
                }
                folder = std::move(next);
                continue;
            }
            if (!last) {
                return refuse(here + " is not a folder");
            }
            if (!S_ISREG(info.st_mode)) {
                return refuse(here + " is not a regular file");
            }
            if (othersMayWrite) {
                return refuse(shown_ + " may be changed by others than root");
            }
            // Not blocking: should a FIFO be there after all, the open returns at once.
            Fd file(::openat(folder.get(), name.c_str(),
                             fileFlags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
            struct stat opened {};
            if (!file.valid() || ::fstat(file.get(), &opened) != 0) {
                return refuse("cannot open " + here + ": " + systemError());
            }
            if (!S_ISREG(opened.st_mode)) {
                return refuse(here + " is not a regular file");
            }
            if (static_cast<std::size_t>(opened.st_size) > kResolverFileLimit) {
                return refuse(here + " is larger than " + std::to_string(kResolverFileLimit) +
                              " bytes");
            }
            return finish(std::move(folder), name, std::move(file), here);
        }
    }

private:
    Failure refuse(const std::string& why) const {
        return failure("the resolver file " + path_ + " is not safe to use: " + why +
                       "; nothing was changed");
    }

    bool ownedRight(const struct stat& info) const {
        return info.st_uid == 0 || info.st_uid == owner_;
    }

    Done enterRoot(Fd& folder, bool& othersMayWrite) {
        Fd root(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        shown_ = "/";
        if (Done entered = enter(root, othersMayWrite); !entered) {
            return entered;
        }
        folder = std::move(root);
        return {};
    }

    // Checks the folder just opened as the next one of the walk.
    Done enter(const Fd& folder, bool& othersMayWrite) const {
        struct stat info {};
        if (!folder.valid() || ::fstat(folder.get(), &info) != 0) {
            return refuse("cannot open " + shown_ + ": " + systemError());
        }
        const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        const bool sticky = (info.st_mode & S_ISVTX) != 0;
        if (!ownedRight(info) || (othersWrite && !sticky)) {
            return refuse(shown_ + " may be changed by others than root");
        }
        othersMayWrite = othersWrite;
        return {};
    }

    static std::string readLink(int folder, const std::string& name, const struct stat& info,
                                std::string& target) {
        target.assign(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlinkat(folder, name.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return length < 0 ? systemError() : "it changed while being read";
        }
        target.resize(static_cast<std::size_t>(length));
        return "";
    }

    static Walked finish(Fd folder, const std::string& name, Fd file, const std::string& shown) {
        Walked walked;
        walked.folder = std::move(folder);
        walked.name = name;
        walked.file = std::move(file);
        walked.shown = shown;
        return walked;
    }

    std::string path_;
    uid_t owner_;
    std::string shown_;
};

std::optional<std::string> readAll(int fd, std::string& error) {
    std::string text;
    char buffer[8192];
    while (true) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = systemError();
            return std::nullopt;
        }
        if (n == 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kResolverFileLimit) {
            error = "it is larger than " + std::to_string(kResolverFileLimit) + " bytes";
            return std::nullopt;
        }
    }
}

// Whether the file is the root of a mount of its own; nothing when the kernel cannot say.
std::optional<bool> isMountRoot(int fd) {
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &info) != 0 ||
        (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) == 0) {
        return std::nullopt;
    }
    return (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
}

// The new bytes over the old ones, then the rest cut off, so that a reader never finds the
// file empty.
std::string writeInPlace(int fd, const std::string& text) {
    if (::lseek(fd, 0, SEEK_SET) != 0 || !system::writeAllToFd(fd, text) ||
        ::ftruncate(fd, static_cast<off_t>(text.size())) != 0 || ::fsync(fd) != 0) {
        return systemError();
    }
    return "";
}

}  // namespace

Expected<std::string> readResolverFile(const std::string& path, uid_t owner) {
    auto walked = Walk(path, owner).run(O_RDONLY);
    if (!walked) {
        return failure(walked.error());
    }
    if (!walked->file.valid()) {
        return std::string();
    }
    std::string why;
    auto text = readAll(walked->file.get(), why);
    if (!text) {
        return failure("cannot read " + walked->shown + ": " + why);
    }
    return std::move(*text);
}

Done rewriteResolverFile(const std::string& path,
                         const std::function<std::string(const std::string&)>& rewrite,
                         uid_t owner) {
    auto walked = Walk(path, owner).run(O_RDWR);
    if (!walked) {
        return failure(walked.error());
    }
    std::string old;
    if (walked->file.valid()) {
        std::string why;
        const auto text = readAll(walked->file.get(), why);
        if (!text) {
            return failure("cannot read " + walked->shown + ": " + why + "; nothing was changed");
        }
        old = *text;
    }
    const std::string text = rewrite(old);
    const auto mounted = walked->file.valid() ? isMountRoot(walked->file.get()) : false;
    std::string error;
    if (mounted.value_or(false)) {
        error = writeInPlace(walked->file.get(), text);
    } else if (const Done replaced =
                   system::replaceFileAtomicallyAt(walked->folder.get(), walked->name, text)) {
        return {};
    } else if (error = replaced.error(); !mounted && walked->file.valid()) {
        // A kernel that cannot tell mount points: the rename failing is how one shows.
        error = writeInPlace(walked->file.get(), text);
    }
    if (!error.empty()) {
        return failure("cannot write " + walked->shown + ": " + error);
    }
    return {};
}

}  // namespace quorrel::netsh
