#include <windows.h>

#include <string>

#include "platform/ProcessRunner.h"
#include "system/win32/Win32CodePage.h"
#include "system/win32/Win32Error.h"

namespace quorrel::platform {

using system::win32::kProgramCodePage;
using system::win32::lastErrorText;
using system::win32::utf8ToCodePage;

namespace {

class Win32ProcessRunner final : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& commandLine) override {
        // The program's texts are UTF-8; CreateProcessA takes the system's code page, in
        // which the child (netsh) reads the connection name. Its own copy, too, since
        // CreateProcessA may write into it.
        bool lossless = true;
        std::string line = utf8ToCodePage(commandLine, kProgramCodePage, &lossless);
        if (!lossless) {
            return ProcessOutcome::notStarted(
                "the command line holds characters that code page 949 cannot carry");
        }
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        ZeroMemory(&process, sizeof process);

        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                            nullptr, nullptr, &startup, &process)) {
            return ProcessOutcome::notStarted("CreateProcessA: " + lastErrorText());
        }
        CloseHandle(process.hThread);

        ProcessOutcome outcome;
        if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0) {
            outcome = ProcessOutcome::waitFailed("WaitForSingleObject: " + lastErrorText());
        } else {
            DWORD code = 0;
            if (GetExitCodeProcess(process.hProcess, &code)) {
                outcome = ProcessOutcome::exited(static_cast<int>(code));
            } else {
                outcome = ProcessOutcome::waitFailed("GetExitCodeProcess: " + lastErrorText());
            }
        }
        CloseHandle(process.hProcess);
        return outcome;
    }
};

}  // namespace

std::unique_ptr<ProcessRunner> makeSystemProcessRunner() {
    return std::make_unique<Win32ProcessRunner>();
}

}  // namespace quorrel::platform
