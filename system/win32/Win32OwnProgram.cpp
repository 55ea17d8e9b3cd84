#include <windows.h>

#include "system/OwnProgram.h"

namespace quorrel::system {

namespace {

constexpr DWORD kPathCapacity = 4096;

}  // namespace

std::string ownProgramPath() {
    std::string path(kPathCapacity, '\0');
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), kPathCapacity);
    path.resize(length < kPathCapacity ? length : 0);
    return path;
}

std::string ownProgramFolder() {
    const std::string path = ownProgramPath();
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace quorrel::system
