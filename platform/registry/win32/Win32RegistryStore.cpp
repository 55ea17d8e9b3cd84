// The registry store on Windows: HKEY_LOCAL_MACHINE itself, through the narrow (...A)
// registry functions. Texts cross the boundary in the program's code page, CP949.

#include <windows.h>

#include <vector>

#include "platform/RegistryStore.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace win32 = system::win32;

namespace {

RegStatus statusOf(LONG result) {
    switch (result) {
        case ERROR_SUCCESS:
            return RegStatus::Ok;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return RegStatus::NotFound;
        case ERROR_MORE_DATA:
            return RegStatus::MoreData;
        case ERROR_ACCESS_DENIED:
            return RegStatus::AccessDenied;
        default:
            return RegStatus::Failed;
    }
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { ::RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    RegStatus queryString(std::string_view name, std::size_t bufferSize,
                          std::string& value) override {
        if (bufferSize == 0) {
            // Even an empty text needs its terminating zero; only ask whether it exists.
            DWORD type = 0;
            const LONG result = ::RegQueryValueExA(key_, win32::utf8ToCodePage(name).c_str(),
                                                   nullptr, &type, nullptr, nullptr);
            if (result != ERROR_SUCCESS) {
                return statusOf(result);
            }
            return isText(type) ? RegStatus::MoreData : RegStatus::WrongType;
        }
        std::vector<BYTE> buffer(bufferSize + 1, 0);  // one spare zero behind the caller's size
        DWORD type = REG_SZ;
        DWORD size = static_cast<DWORD>(bufferSize);
        const LONG result = ::RegQueryValueExA(key_, win32::utf8ToCodePage(name).c_str(), nullptr,
                                               &type, buffer.data(), &size);
        if (result == ERROR_MORE_DATA && !isText(type)) {
            return RegStatus::WrongType;
        }
        if (result != ERROR_SUCCESS) {
            return statusOf(result);
        }
        if (!isText(type)) {
            return RegStatus::WrongType;
        }
        // A text stored without its terminating zero needs one more byte in the buffer.
        std::size_t length = 0;
        while (length < size && buffer[length] != 0) {
            ++length;
        }
        if (length >= bufferSize) {
            return RegStatus::MoreData;
        }
        value = win32::codePageToUtf8(
            std::string_view(reinterpret_cast<const char*>(buffer.data()), length));
        return RegStatus::Ok;
    }

    RegStatus queryDword(std::string_view name, std::uint32_t& value) override {
        DWORD type = REG_DWORD;
        DWORD number = 0;
        DWORD size = sizeof number;
        const LONG result = ::RegQueryValueExA(key_, win32::utf8ToCodePage(name).c_str(), nullptr,
                                               &type, reinterpret_cast<BYTE*>(&number), &size);
        if (result == ERROR_MORE_DATA) {
            return RegStatus::WrongType;
        }
        if (result != ERROR_SUCCESS) {
            return statusOf(result);
        }
        if (type != REG_DWORD || size != sizeof number) {
            return RegStatus::WrongType;
        }
        value = number;
        return RegStatus::Ok;
    }

    RegStatus setString(std::string_view name, std::string_view value) override {
        const std::string bytes = win32::utf8ToCodePage(value);
        return statusOf(::RegSetValueExA(key_, win32::utf8ToCodePage(name).c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(bytes.c_str()),
                                         static_cast<DWORD>(bytes.size() + 1)));
    }

    RegStatus setDword(std::string_view name, std::uint32_t value) override {
        const DWORD number = value;
        return statusOf(::RegSetValueExA(key_, win32::utf8ToCodePage(name).c_str(), 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&number), sizeof number));
    }

private:
    static bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

    HKEY key_;
};

class Win32RegistryStore final : public RegistryStore {
public:
    RegStatus openKey(std::string_view path, RegAccess access,
                      std::unique_ptr<RegistryKey>& key) override {
        HKEY handle = nullptr;
        const REGSAM sam = access == RegAccess::AllAccess ? KEY_ALL_ACCESS : KEY_READ;
        const LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, win32::utf8ToCodePage(path).c_str(),
                                            0, sam, &handle);
        if (result != ERROR_SUCCESS) {
            return statusOf(result);
        }
        key = std::make_unique<Win32RegistryKey>(handle);
        return RegStatus::Ok;
    }

    RegStatus createKey(std::string_view path, std::unique_ptr<RegistryKey>& key) override {
        HKEY handle = nullptr;
        // Empty class, non-volatile; read access too, so that the caller can check its work.
        const LONG result = ::RegCreateKeyExA(
            HKEY_LOCAL_MACHINE, win32::utf8ToCodePage(path).c_str(), 0, nullptr,
            REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr, &handle, nullptr);
        if (result != ERROR_SUCCESS) {
            return statusOf(result);
        }
        key = std::make_unique<Win32RegistryKey>(handle);
        return RegStatus::Ok;
    }
};

}  // namespace

std::unique_ptr<RegistryStore> makeSystemRegistryStore() {
    return std::make_unique<Win32RegistryStore>();
}

}  // namespace quorrel::platform
