#include <windows.h>

#include <string>

#include "platform/StandardStreams.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace win32 = system::win32;

namespace {

bool usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The starter's console, for the streams the program was given none of. A program that
// already shares a console (wine gives one to window programs too) is refused the
// attachment with ERROR_ACCESS_DENIED and opens it all the same.
void takeFromConsole(DWORD stream, const wchar_t* device, DWORD access) {
    if (usable(::GetStdHandle(stream))) {
        return;
    }
    // Inheritable, so that the commands the program starts print to the same console.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE handle = ::CreateFileW(device, access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        &inherit, OPEN_EXISTING, 0, nullptr);
    if (usable(handle)) {
        ::SetStdHandle(stream, handle);
    }
}

void write(DWORD stream, std::string_view text) {
    const HANDLE handle = ::GetStdHandle(stream);
    if (!usable(handle) || text.empty()) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        const std::wstring wide = win32::utf8ToWide(text);
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : win32::utf8ToCodePage(text)) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void connectStandardStreams() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (usable(output) && usable(error)) {
        return;
    }
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED) {
        return;  // started without a console: from the desktop or another window program
    }
    takeFromConsole(STD_OUTPUT_HANDLE, L"CONOUT$", GENERIC_READ | GENERIC_WRITE);
    takeFromConsole(STD_ERROR_HANDLE, L"CONOUT$", GENERIC_READ | GENERIC_WRITE);
    takeFromConsole(STD_INPUT_HANDLE, L"CONIN$", GENERIC_READ | GENERIC_WRITE);
}

void writeStandardOutput(std::string_view text) {
    write(STD_OUTPUT_HANDLE, text);
}

void writeStandardError(std::string_view text) {
    write(STD_ERROR_HANDLE, text);
}

}  // namespace quorrel::platform
