#include <windows.h>

#include <cstdio>
#include <string>

#include "system/OutputCapture.h"
#include "system/win32/Win32Error.h"
#include "system/win32/Win32OutputCapture.h"

namespace quorrel::system {

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

}  // namespace

CapturedOutput win32::captureWith(const char* application, std::string commandLine,
                                  const char* folder) {
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
        result.reason = "CreatePipe: " + win32::lastErrorText();
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
        result.reason = "CreateProcessA: " + win32::lastErrorText();
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

namespace {

class Win32CommandCapture final : public OutputCapture {
public:
    explicit Win32CommandCapture(std::string commandLine) : commandLine_(std::move(commandLine)) {}
    CapturedOutput capture() override { return win32::captureWith(nullptr, commandLine_, nullptr); }

private:
    std::string commandLine_;
};

}  // namespace

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return std::make_unique<Win32CommandCapture>(std::move(commandLine));
}

}  // namespace quorrel::system
