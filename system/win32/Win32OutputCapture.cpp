#include "system/win32/Win32OutputCapture.h"

#include <windows.h>

#include <string>

#include "system/OutputCapture.h"
#include "system/win32/Win32Error.h"

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

class Win32Capture final : public OutputCapture {
public:
    Win32Capture(std::string application, std::string commandLine, std::string folder)
        : application_(std::move(application)),
          commandLine_(std::move(commandLine)),
          folder_(std::move(folder)) {}

    Done start() override {
        if (outputRead_.get() != nullptr) {
            return failure("the command was started already");
        }
        std::string commandLine = commandLine_;
        SECURITY_ATTRIBUTES inheritable;
        inheritable.nLength = sizeof inheritable;
        inheritable.lpSecurityDescriptor = nullptr;
        inheritable.bInheritHandle = TRUE;

        Handle outputWrite;
        Handle inputRead;
        if (!CreatePipe(outputRead_.out(), outputWrite.out(), &inheritable, 0) ||
            !CreatePipe(inputRead.out(), inputWrite_.out(), &inheritable, 0)) {
            const Failure failed = failure("CreatePipe: " + win32::lastErrorText());
            closePipes();
            return failed;
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

        if (!CreateProcessA(application_.empty() ? nullptr : application_.c_str(),
                            commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            folder_.empty() ? nullptr : folder_.c_str(), &startup, &process)) {
            const Failure failed = failure("CreateProcessA: " + win32::lastErrorText());
            closePipes();
            return failed;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return {};
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

private:
    void closePipes() {
        outputRead_.reset();
        inputWrite_.reset();
    }

    std::string application_;
    std::string commandLine_;
    std::string folder_;
    Handle outputRead_;
    Handle inputWrite_;
};

}  // namespace

std::unique_ptr<OutputCapture> win32::makeCaptureWith(std::string application,
                                                      std::string commandLine, std::string folder) {
    return std::make_unique<Win32Capture>(std::move(application), std::move(commandLine),
                                          std::move(folder));
}

std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine) {
    return win32::makeCaptureWith("", std::move(commandLine), "");
}

}  // namespace quorrel::system
