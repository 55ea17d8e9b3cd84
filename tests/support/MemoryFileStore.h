#pragma once

#include <map>
#include <string>

#include "platform/FileStore.h"

namespace quorrel::test {

// Files kept in memory; a path listed in `unwritable` refuses writes, one listed in
// `unreadable` refuses reads with the reason given there.
class MemoryFileStore final : public platform::FileStore {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, bool> unwritable;
    std::map<std::string, std::string> unreadable;

    platform::FileRead read(const std::string& path) override {
        platform::FileRead result;
        if (const auto refused = unreadable.find(path); refused != unreadable.end()) {
            result.status = platform::FileRead::Status::Unreadable;
            result.error = refused->second;
            return result;
        }
        const auto it = files.find(path);
        if (it != files.end()) {
            result.status = platform::FileRead::Status::Read;
            result.bytes = it->second;
        }
        return result;
    }

    Done writeAtomically(const std::string& path, const std::string& bytes) override {
        if (unwritable.count(path) != 0) {
            return failure("read-only");
        }
        files[path] = bytes;
        return {};
    }

    bool copyFile(const std::string& from, const std::string& to) override {
        const auto bytes = readAll(from);
        if (!bytes) {
            return false;
        }
        return writeAtomically(to, *bytes).ok();
    }
};

}  // namespace quorrel::test
