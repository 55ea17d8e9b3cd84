#include "platform/win32/Win32HelpViewer.h"

#include <windows.h>

#include "platform/DebugTrace.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace win32 = system::win32;

namespace {

// From htmlhelp.h, which mingw-w64 ships without its import library.
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
using HtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

}  // namespace

Win32HelpViewer::Win32HelpViewer(std::string library) : library_(std::move(library)) {}

bool Win32HelpViewer::displayTopic(const std::string& location) {
    if (!loaded_) {
        loaded_ = true;
        ++loadAttempts_;
        if (HMODULE module = ::LoadLibraryA(library_.c_str())) {
            htmlHelp_ = reinterpret_cast<void (*)()>(::GetProcAddress(module, "HtmlHelpA"));
            if (htmlHelp_ == nullptr) {
                ::FreeLibrary(module);
            }
        }
        if (htmlHelp_ == nullptr) {
            DebugTrace("HTML Help is not available (%s)", library_.c_str());
        }
    }
    if (htmlHelp_ == nullptr) {
        return false;
    }
    // The narrow functions take the program's code page; the location is UTF-8 inside.
    const std::string path = win32::utf8ToCodePage(location);
    const auto htmlHelp = reinterpret_cast<HtmlHelpA>(htmlHelp_);
    return htmlHelp(::GetDesktopWindow(), path.c_str(), kDisplayTopic, 0) != nullptr;
}

}  // namespace quorrel::platform
