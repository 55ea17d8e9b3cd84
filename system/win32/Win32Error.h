#pragma once

#include <windows.h>

#include <string>

namespace quorrel::system::win32 {

// GetLastError as "<number> <system text>", for the debugger output.
inline std::string lastErrorText() {
    const DWORD error = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    std::string result = std::to_string(error);
    if (length > 0) {
        result += ' ';
        result.append(text, length);
        while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) {
            result.pop_back();
        }
    }
    return result;
}

}  // namespace quorrel::system::win32
