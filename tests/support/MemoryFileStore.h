#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileStore.h"

namespace quorrel::test {

// Files kept in memory; a path listed in `unwritable` refuses writes (its sink refuses the
// first piece), one listed in `unreadable` refuses reads with the reason given there. Its
// calls may come from several threads at once (a backup beside a read); the maps are
// read directly only while no call runs.
class MemoryFileStore final : public platform::FileStore {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, bool> unwritable;
    std::map<std::string, std::string> unreadable;
    // The sizes of the pieces that the last write was handed, a refused one included.
    std::vector<std::size_t> lastPieces;

    platform::FileRead read(const std::string& path) override {
        const std::lock_guard<std::recursive_mutex> hold(lock_);
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

    Done writeAtomicallyFrom(const std::string& path, const ByteSource& source) override {
        const std::lock_guard<std::recursive_mutex> hold(lock_);
        const bool refused = unwritable.count(path) != 0;
        std::string bytes;
        lastPieces.clear();
        source([&](std::string_view piece) {
            lastPieces.push_back(piece.size());
            if (!refused) {
                bytes += piece;
            }
            return !refused;
        });
        if (refused) {
            return failure("read-only");
        }
        files[path] = std::move(bytes);
        return {};
    }

    bool copyFile(const std::string& from, const std::string& to) override {
        const std::lock_guard<std::recursive_mutex> hold(lock_);
        const auto bytes = readAll(from);
        if (!bytes) {
            return false;
        }
        return writeAtomically(to, *bytes).ok();
    }

private:
    std::recursive_mutex lock_;
};

}  // namespace quorrel::test
