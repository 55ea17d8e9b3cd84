#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileStore.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace win32 = system::win32;

namespace {

// The system's description of an error code, in UTF-8.
std::string describe(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (length > 0 && text != nullptr) {
        message = win32::wideToUtf8(std::wstring_view(text, length));
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ' || message.back() == '.')) {
            message.pop_back();
        }
    }
    if (text != nullptr) {
        ::LocalFree(text);
    }
    return message.empty() ? "error " + std::to_string(code) : message;
}

// Writes all of `bytes` to the open file: ERROR_SUCCESS, or the system's error code.
DWORD writeAll(HANDLE file, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
            const DWORD code = ::GetLastError();
            return code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT;
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;
        }
        done += written;
    }
    return ERROR_SUCCESS;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        const bool ok = !valid() || ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

class Win32FileStore final : public FileStore {
public:
    FileReadOutcome readInPieces(const std::string& path, const ByteSink& sink) override {
        FileReadOutcome result;
        Handle file(::CreateFileA(win32::utf8ToCodePage(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
                result.status = FileReadOutcome::Status::Unreadable;
                result.error = describe(code);
            }
            return result;
        }
        // On the heap: the thread that reads may have a small stack.
        std::vector<char> buffer(kFileReadPieceBytes);
        for (;;) {
            DWORD read = 0;
            if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                            nullptr)) {
                result.status = FileReadOutcome::Status::Unreadable;
                result.error = describe(::GetLastError());
                return result;
            }
            if (read == 0 || !sink(std::string_view(buffer.data(), read))) {
                result.status = FileReadOutcome::Status::Read;
                return result;
            }
        }
    }

    Done writeAtomicallyFrom(const std::string& path, const ByteSource& source) override {
        static std::atomic<unsigned> counter{0};
        const std::string target = win32::utf8ToCodePage(path);
        // The temporary file sits beside the target, so that the move is a rename.
        const std::string temp = target + "." + std::to_string(::GetCurrentProcessId()) + "-" +
                                 std::to_string(counter++) + ".tmp";
        Handle file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return failure(describe(::GetLastError()));
        }
        // The first piece that cannot be written stops the source.
        DWORD failedWith = ERROR_SUCCESS;
        source([&file, &failedWith](std::string_view piece) {
            if (failedWith == ERROR_SUCCESS) {
                failedWith = writeAll(file.get(), piece);
            }
            return failedWith == ERROR_SUCCESS;
        });
        std::string error;
        bool ok = failedWith == ERROR_SUCCESS;
        if (!ok) {
            error = describe(failedWith);
        } else if (!::FlushFileBuffers(file.get())) {
            error = describe(::GetLastError());
            ok = false;
        }
        if (!file.close() && ok) {
            error = describe(::GetLastError());
            ok = false;
        }
        if (ok && !::MoveFileExA(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error = describe(::GetLastError());
            ok = false;
        }
        if (!ok) {
            ::DeleteFileA(temp.c_str());
            return failure(std::move(error));
        }
        return {};
    }

    bool copyFile(const std::string& from, const std::string& to) override {
        return ::CopyFileA(win32::utf8ToCodePage(from).c_str(), win32::utf8ToCodePage(to).c_str(),
                           FALSE) != 0;
    }
};

}  // namespace

std::unique_ptr<FileStore> makeSystemFileStore() {
    return std::make_unique<Win32FileStore>();
}

}  // namespace quorrel::platform
