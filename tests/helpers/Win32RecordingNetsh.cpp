// netsh.exe for the Windows apply tests. Built into the program's folder, where Windows
// looks first for a bare "netsh.exe", it stands in for the system's netsh: it appends its
// whole command line, byte for byte as Windows hands it over, and a line feed to the file
// that QUORREL_NETSH_RECORD names, and ends with exit code 0. Without that variable it
// changes nothing and ends with 1, so that a program that finds it by mistake sees a
// failed apply rather than a false success. When QUORREL_NETSH_HOLD names a file, it first
// waits (at most a minute) until that file exists, so that the pictures script can show
// the progress dialog of an apply under way.
#include <windows.h>

#include <cstring>

namespace {

void waitForHoldFile() {
    char hold[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("QUORREL_NETSH_HOLD", hold, sizeof hold);
    if (length == 0 || length >= sizeof hold) {
        return;
    }
    const ULONGLONG deadline = ::GetTickCount64() + 60000;
    while (::GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES && ::GetTickCount64() < deadline) {
        ::Sleep(50);
    }
}

}  // namespace

int main() {
    waitForHoldFile();
    char path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("QUORREL_NETSH_RECORD", path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return 1;
    }
    const HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    const char* line = ::GetCommandLineA();
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr) &&
        ::WriteFile(file, "\n", 1, &written, nullptr);
    ::CloseHandle(file);
    return ok ? 0 : 1;
}
