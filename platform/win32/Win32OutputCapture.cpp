#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/ProcessCapture.h"
#include "platform/win32/Win32ProcessError.h"

namespace quorrel::platform {

namespace {

// Closes a handle when it goes out of scope.
class Handle {
public:
    Handle() = default;
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE* out() { return &handle_; }
    HANDLE get() const { return handle_; }
    void reset() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// Starts `commandLine` (with `application` as the program when not null) with its standard
// input and output on anonymous pipes, hidden, and collects its output.
CapturedOutput captureWith(const char* application, std::string commandLine, const char* folder) {
    CapturedOutput result;
    SECURITY_ATTRIBUTES inheritable;
    inheritable.nLength = sizeof inheritable;
    inheritable.lpSecurityDescriptor = nullptr;
    inheritable.bInheritHandle = TRUE;

    Handle outputRead;
    Handle outputWrite;
    Handle inputRead;
    Handle inputWrite;
    if (!CreatePipe(outputRead.out(), outputWrite.out(), &inheritable, 0) ||
        !CreatePipe(inputRead.out(), inputWrite.out(), &inheritable, 0)) {
        result.reason = "CreatePipe: " + lastErrorText();
        return result;
    }
    // Our ends stay with us, so that the child's end of the output is the end of data.
    SetHandleInformation(outputRead.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inputWrite.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = inputRead.get();
    startup.hStdOutput = outputWrite.get();
    startup.hStdError = nullptr;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);

    if (!CreateProcessA(application, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder,
                        &startup, &process)) {
        result.reason = "CreateProcessA: " + lastErrorText();
        return result;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    outputWrite.reset();
    inputRead.reset();

    result.started = true;
    const HANDLE readEnd = outputRead.get();
    result.text = collectChunks([readEnd](char* buffer, std::size_t capacity) -> long {
        DWORD count = 0;
        if (!ReadFile(readEnd, buffer, static_cast<DWORD>(capacity), &count, nullptr)) {
            return -1;  // ERROR_BROKEN_PIPE: the child has closed its output
        }
        return static_cast<long>(count);
    });
    return result;
}

class Win32CommandCapture final : public OutputCapture {
public:
    explicit Win32CommandCapture(std::string commandLine) : commandLine_(std::move(commandLine)) {}
    CapturedOutput capture() override { return captureWith(nullptr, commandLine_, nullptr); }

private:
    std::string commandLine_;
};

// "cmd.exe /c ipconfig.exe /all" from the system folder.
class Win32StatusReportCapture final : public OutputCapture {
public:
    CapturedOutput capture() override {
        // A Windows folder longer than its 49-byte buffer is left empty: the paths then
        // start at the root of the current drive.
        char windowsFolder[50] = {};
        const UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
        if (length == 0 || length >= sizeof windowsFolder) {
            windowsFolder[0] = '\0';
        }
        char systemFolder[61] = {};
        std::snprintf(systemFolder, sizeof systemFolder, "%s\\System32", windowsFolder);
        char interpreter[71] = {};
        std::snprintf(interpreter, sizeof interpreter, "%s\\cmd.exe", systemFolder);
        return captureWith(interpreter, "/c ipconfig.exe /all", systemFolder);
    }
};

}  // namespace

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return std::make_unique<Win32CommandCapture>(std::move(commandLine));
}

std::unique_ptr<OutputCapture> makeStatusReportCapture() {
    return std::make_unique<Win32StatusReportCapture>();
}

}  // namespace quorrel::platform
