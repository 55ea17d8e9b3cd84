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
// first piece), one listed in `unreadable` fails its reads with the reason given there, as a
// read that fails midway: after the file's first piece, when there is a file. Its calls may
// come from several threads at once (a backup beside a read); the maps are read directly
// only while no call runs.
class MemoryFileStore final : public platform::FileStore {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, bool> unwritable;
    std::map<std::string, std::string> unreadable;
    // The sizes of the pieces that the last write was handed, a refused one included.
    std::vector<std::size_t> lastPieces;
    // The size of the pieces that a read hands over (the last one may be shorter); a small
    // one splits lines, line ends and characters between pieces.
    std::size_t readPieceBytes = platform::kFileReadPieceBytes;

    platform::FileReadOutcome readInPieces(const std::string& path, const ByteSink& sink) override {
        const std::lock_guard<std::recursive_mutex> hold(lock_);
        using Status = platform::FileReadOutcome::Status;
        platform::FileReadOutcome result;
        const auto refused = unreadable.find(path);
        const auto it = files.find(path);
        if (it != files.end()) {
            const std::string_view bytes = it->second;
            for (std::size_t at = 0; at < bytes.size(); at += readPieceBytes) {
                if (!sink(bytes.substr(at, readPieceBytes)) || refused != unreadable.end()) {
                    break;
                }
            }
            result.status = Status::Read;
        }
        if (refused != unreadable.end()) {
            result.status = Status::Unreadable;
            result.error = refused->second;
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
