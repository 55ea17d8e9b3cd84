#include <unistd.h>

#include "system/OwnProgram.h"

namespace quorrel::system {

namespace {

constexpr std::size_t kPathCapacity = 4096;

}  // namespace

std::string ownProgramPath() {
    std::string path(kPathCapacity, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return path;
}

std::string ownProgramFolder() {
    const std::string path = ownProgramPath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace quorrel::system
