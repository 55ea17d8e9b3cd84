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

// Starts a command line (with an application path when one is given) with its standard
// input and output on anonymous pipes, hidden, and collects its output.
class Win32Capture : public OutputCapture {
public:
    bool start(std::string& reason) override {
        if (outputRead_.get() != nullptr) {
            reason = "the command was started already";
            return false;
        }
        std::string commandLine = this->commandLine();
        SECURITY_ATTRIBUTES inheritable;
        inheritable.nLength = sizeof inheritable;
        inheritable.lpSecurityDescriptor = nullptr;
        inheritable.bInheritHandle = TRUE;

        Handle outputWrite;
        Handle inputRead;
        if (!CreatePipe(outputRead_.out(), outputWrite.out(), &inheritable, 0) ||
            !CreatePipe(inputRead.out(), inputWrite_.out(), &inheritable, 0)) {
            reason = "CreatePipe: " + lastErrorText();
            closePipes();
            return false;
        }
        // Our ends stay with us, so that the child's end of the output is the end of data.
        SetHandleInformation(outputRead_.get(), HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(inputWrite_.get(), HANDLE_FLAG_INHERIT, 0);

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

        if (!CreateProcessA(application(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            folder(), &startup, &process)) {
            reason = "CreateProcessA: " + lastErrorText();
            closePipes();
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    bool collect(const OutputPiece& piece, const StopRequest& stop) override {
        const HANDLE readEnd = outputRead_.get();
        if (readEnd == nullptr) {
            return false;
        }
        bool stopped = false;
        collectChunks(
            [readEnd, &stop, &stopped](char* buffer, std::size_t capacity) -> long {
                // An anonymous pipe cannot be waited on with a time-out: a collection that
                // may be stopped looks whether output waits before it reads.
                while (stop) {
                    if (stop()) {
                        stopped = true;
                        return 0;
                    }
                    DWORD waiting = 0;
                    if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr)) {
                        return -1;  // ERROR_BROKEN_PIPE: the child has closed its output
                    }
                    if (waiting > 0) {
                        break;
                    }
                    Sleep(kCaptureStopCheckMs);
                }
                DWORD count = 0;
                if (!ReadFile(readEnd, buffer, static_cast<DWORD>(capacity), &count, nullptr)) {
                    return -1;  // ERROR_BROKEN_PIPE: the child has closed its output
                }
                return static_cast<long>(count);
            },
            piece);
        closePipes();
        return !stopped;
    }

protected:
    virtual std::string commandLine() const = 0;
    // The program to start; null: the first word of the command line.
    virtual const char* application() const { return nullptr; }
    // The child's current folder; null: ours.
    virtual const char* folder() const { return nullptr; }

private:
    void closePipes() {
        outputRead_.reset();
        inputWrite_.reset();
    }

    Handle outputRead_;
    Handle inputWrite_;
};

class Win32CommandCapture final : public Win32Capture {
public:
    explicit Win32CommandCapture(std::string commandLine) : commandLine_(std::move(commandLine)) {}

protected:
    std::string commandLine() const override { return commandLine_; }

private:
    std::string commandLine_;
};

// "cmd.exe /c ipconfig.exe /all" from the system folder.
class Win32StatusReportCapture final : public Win32Capture {
public:
    Win32StatusReportCapture() {
        // A Windows folder longer than its 49-byte buffer is left empty: the paths then
        // start at the root of the current drive.
        char windowsFolder[50] = {};
        const UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
        if (length == 0 || length >= sizeof windowsFolder) {
            windowsFolder[0] = '\0';
        }
        std::snprintf(systemFolder_, sizeof systemFolder_, "%s\\System32", windowsFolder);
        std::snprintf(interpreter_, sizeof interpreter_, "%s\\cmd.exe", systemFolder_);
    }

protected:
    std::string commandLine() const override { return "/c ipconfig.exe /all"; }
    const char* application() const override { return interpreter_; }
    const char* folder() const override { return systemFolder_; }

private:
    char systemFolder_[61] = {};
    char interpreter_[71] = {};
};

}  // namespace

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return std::make_unique<Win32CommandCapture>(std::move(commandLine));
}

std::unique_ptr<OutputCapture> makeStatusReportCapture() {
    return std::make_unique<Win32StatusReportCapture>();
}

}  // namespace quorrel::platform
