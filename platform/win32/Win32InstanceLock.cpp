#include <windows.h>

#include "platform/InstanceLock.h"

namespace quorrel::platform {

namespace {

// The named mutex. The handle is kept for the object's life; the process that created the
// mutex owns it until the handle is closed or the process ends.
class Win32InstanceLock final : public InstanceLock {
public:
    ~Win32InstanceLock() override {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
    }

    LockResult acquire(const std::string& name) override {
        HANDLE handle = ::CreateMutexA(nullptr, TRUE, name.c_str());
        const DWORD error = ::GetLastError();
        if (handle == nullptr) {
            return LockResult::Failed;
        }
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
        handle_ = handle;
        return error == ERROR_ALREADY_EXISTS ? LockResult::AlreadyExists : LockResult::Acquired;
    }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace

std::unique_ptr<InstanceLock> makeSystemInstanceLock() {
    return std::make_unique<Win32InstanceLock>();
}

std::string runtimeFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length > MAX_PATH) {
        return "C:\\";
    }
    return std::string(buffer, length);
}

}  // namespace quorrel::platform
