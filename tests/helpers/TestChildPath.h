#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quorrel::test {

// The folder of the running test program, ending in its separator. The test helper
// programs are built into the same folder.
inline std::string ownProgramFolder() {
    std::string path(4096, '\0');
#ifdef _WIN32
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of("\\/") + 1);
#else
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1);
#endif
}

// The child program of the process tests (tests/helpers/TestChild.cpp).
inline std::string testChildProgram() {
#ifdef _WIN32
    return ownProgramFolder() + "quorrel_test_child.exe";
#else
    return ownProgramFolder() + "quorrel_test_child";
#endif
}

}  // namespace quorrel::test
