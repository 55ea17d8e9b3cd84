#include "netsh/SafeFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

namespace quorrel::netsh {

std::vector<std::string> namesInPath(const std::string& path) {
    std::vector<std::string> names;
    std::istringstream in(path);
    for (std::string name; std::getline(in, name, '/');) {
        if (!name.empty() && name != ".") {
            names.push_back(name);
        }
    }
    return names;
}

namespace {

std::string systemError() {
    return std::strerror(errno);
}

}  // namespace

std::string secureFolder(const std::string& path, uid_t owner) {
    if (path.empty() || path.front() != '/') {
        return "the state folder " + path + " is not an absolute path";
    }
    const std::vector<std::string> parts = namesInPath(path);
    int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string walked;
    for (std::size_t i = 0; fd >= 0 && i <= parts.size(); ++i) {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            const std::string why = systemError();
            ::close(fd);
            return "cannot examine " + (walked.empty() ? "/" : walked) + ": " + why;
        }
        const bool last = i == parts.size();
        const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        const bool sticky = (info.st_mode & S_ISVTX) != 0;
        if ((info.st_uid != 0 && info.st_uid != owner) || (othersWrite && (last || !sticky))) {
            ::close(fd);
            return "the state folder " + path + " is not safe: " + (walked.empty() ? "/" : walked) +
                   " may be changed by others than root";
        }
        if (last) {
            break;
        }
        if (parts[i] == "..") {
            ::close(fd);
            return "the state folder " + path + " is not a plain path";
        }
        walked += "/" + parts[i];
        int next = ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0 && errno == ENOENT) {
            if (::mkdirat(fd, parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
                const std::string why = systemError();
                ::close(fd);
                return "cannot create " + walked + ": " + why;
            }
            next = ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            // The umask may have taken bits away; a new folder is root's and readable.
            if (next >= 0) {
                ::fchmod(next, 0755);
            }
        }
        if (next < 0) {
            const std::string why = errno == ELOOP || errno == ENOTDIR
                                        ? std::string("a symbolic link or not a folder")
                                        : systemError();
            ::close(fd);
            return "cannot open " + walked + ": " + why;
        }
        ::close(fd);
        fd = next;
    }
    if (fd < 0) {
        return "cannot open /: " + systemError();
    }
    ::close(fd);
    return "";
}

}  // namespace quorrel::netsh
