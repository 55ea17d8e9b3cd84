#include "platform/win32/Win32WindowLookup.h"

#include <windows.h>

namespace quorrel::platform {

bool Win32WindowLookup::restoreWindowTitled(const std::string& title) {
    HWND window = ::FindWindowA(nullptr, title.c_str());
    if (window == nullptr) {
        return false;
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetForegroundWindow(window);
    return true;
}

}  // namespace quorrel::platform
