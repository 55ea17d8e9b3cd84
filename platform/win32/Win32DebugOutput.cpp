#include <windows.h>

#include <string>
#include <string_view>

#include "platform/DebugOutput.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace win32 = system::win32;

void writeSystemDebugOutput(std::string_view line) {
    ::OutputDebugStringA(win32::utf8ToCodePage(line).c_str());
}

void keepRunningWhenOutputCloses() {
    // Windows ends no process for writing to a closed pipe: the write just fails.
}

unsigned long currentThreadId() {
    return ::GetCurrentThreadId();
}

}  // namespace quorrel::platform
