#include <windows.h>

#include <string>

#include "platform/ProcessRunner.h"
#include "system/win32/Win32Error.h"

namespace quorrel::platform {

using system::win32::lastErrorText;

namespace {

class Win32ProcessRunner final : public ProcessRunner {
public:
    ProcessOutcome runAndWait(const std::string& commandLine) override {
        // CreateProcessA may write into the command line, so it gets a copy of its own.
        std::string line = commandLine;
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
