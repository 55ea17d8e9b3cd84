#include <windows.h>

#include <cstdio>

#include "cleanup/TessupInstall.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::cleanup {

std::string defaultTessupFolder() {
    return "C:\\Program Files\\Varnok\\Tessup";
}

void removeEmptyFolder(const std::string& folder) {
    if (!folder.empty()) {
        // Removes only an empty folder; anything else fails and is left alone.
        ::RemoveDirectoryA(system::win32::utf8ToCodePage(folder).c_str());
    }
}

void keepRunningWhenOutputCloses() {
    // A write to a closed pipe fails on Windows; it never ends the process.
}

void printToConsole(const std::string& utf8) {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && ::GetConsoleMode(out, &mode)) {
        // A console shows UTF-16 whatever its code page.
        const std::wstring wide = system::win32::utf8ToWide(utf8);
        DWORD written = 0;
        ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // Redirected: bytes in the console's output code page, or the system's code page when
    // there is no console.
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = ::GetACP();
    }
    std::string bytes = system::win32::utf8ToCodePage(utf8, codePage);
    // Text mode, as a console program's standard output is: line feeds become CR LF.
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace quorrel::cleanup
