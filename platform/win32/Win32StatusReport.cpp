#include <windows.h>

#include <cstdio>

#include "platform/StatusReport.h"
#include "system/CodePage.h"
#include "system/win32/Win32OutputCapture.h"

namespace quorrel::platform {

// "cmd.exe /c ipconfig.exe /all" from the system folder.
std::unique_ptr<system::OutputCapture> makeStatusReportCapture() {
    // A Windows folder longer than its 49-byte buffer is left empty: the paths then start
    // at the root of the current drive.
    char windowsFolder[50] = {};
    const UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (length == 0 || length >= sizeof windowsFolder) {
        windowsFolder[0] = '\0';
    }
    char systemFolder[61] = {};
    std::snprintf(systemFolder, sizeof systemFolder, "%s\\System32", windowsFolder);
    char interpreter[71] = {};
    std::snprintf(interpreter, sizeof interpreter, "%s\\cmd.exe", systemFolder);
    return system::win32::makeCaptureWith(interpreter, "/c ipconfig.exe /all", systemFolder);
}

std::string statusReportUtf8(std::string_view bytes) {
    // For display: a byte that is not CP949 shows as a replacement character.
    return system::readableText(system::cp949ToUtf8(bytes));
}

}  // namespace quorrel::platform
