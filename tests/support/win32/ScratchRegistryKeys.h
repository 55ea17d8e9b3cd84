#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorrel::test {

inline bool machineKeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

// Keys below HKEY_LOCAL_MACHINE that a test creates, removed again deepest first.
class ScratchRegistryKeys {
public:
    ScratchRegistryKeys() = default;
    ScratchRegistryKeys(const ScratchRegistryKeys&) = delete;
    ScratchRegistryKeys& operator=(const ScratchRegistryKeys&) = delete;
    ~ScratchRegistryKeys() {
        for (auto it = paths_.rbegin(); it != paths_.rend(); ++it) {
            ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, it->c_str());
        }
    }
    // Remembers the first missing key on the way to `path`, so that removing it removes
    // everything created below it.
    void willCreate(const std::string& path) {
        std::size_t start = 0;
        while (start <= path.size()) {
            const std::size_t end = std::min(path.find('\\', start), path.size());
            const std::string prefix = path.substr(0, end);
            if (!machineKeyExists(prefix)) {
                paths_.push_back(prefix);
                return;
            }
            start = end + 1;
        }
    }

private:
    std::vector<std::string> paths_;
};

}  // namespace quorrel::test
