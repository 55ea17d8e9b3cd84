#pragma once

#include <windows.h>

#include <string>

namespace quorrel::test {

// Runs this test program again as a child process with only the tests of `filter`, the
// environment variable `name` set to `value` for it. Returns the child's exit code (0 when
// its tests passed), or -1 when it could not be started or did not end within a minute.
inline long runSelf(const std::string& filter, const char* name, const char* value) {
    char self[MAX_PATH] = {};
    if (::GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) {
        return -1;
    }
    std::string commandLine = std::string("\"") + self + "\" --gtest_filter=" + filter;
    ::SetEnvironmentVariableA(name, value);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &process);
    ::SetEnvironmentVariableA(name, nullptr);
    if (!started) {
        return -1;
    }
    long result = -1;
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        result = static_cast<long>(exitCode);
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}

// Whether this process is such a child, and the value it was given.
inline bool childValue(const char* name, std::string& value) {
    char buffer[256] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) {
        return false;
    }
    value.assign(buffer, length);
    return true;
}

}  // namespace quorrel::test
