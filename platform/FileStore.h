#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/ByteSource.h"
#include "base/Expected.h"

namespace quorrel::platform {

// How reading a file ended: it was read to its end, or there is no such file, or a file is
// there but could not be read (no permission, an I/O error, a folder by that name).
struct FileReadOutcome {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string error;  // why it could not be read (UTF-8); empty unless Unreadable
};

// What reading a whole file gave: how the read ended and, when it was read, its bytes.
struct FileRead : FileReadOutcome {
    std::string bytes;
};

// The most that one piece of a read holds.
inline constexpr std::size_t kFileReadPieceBytes = 64 * 1024;

// Whole-file access for the data file. Paths are UTF-8.
class FileStore {
public:
    virtual ~FileStore() = default;

    // Hands the file's bytes in order to `sink`, in pieces of at most kFileReadPieceBytes
    // (none empty), so that a reader that takes them as they come never holds the whole
    // file. A read that fails after some pieces is Unreadable all the same: a reader keeps
    // what it gathered only when the outcome is Read. The sink's first false ends the read
    // early, which counts as Read.
    virtual FileReadOutcome readInPieces(const std::string& path, const ByteSink& sink) = 0;

    // The whole file's bytes at once, for small files.
    FileRead read(const std::string& path) {
        FileRead result;
        static_cast<FileReadOutcome&>(result) =
            readInPieces(path, [&result](std::string_view piece) {
                result.bytes += piece;
                return true;
            });
        if (result.status != FileRead::Status::Read) {
            result.bytes = std::string();
        }
        return result;
    }

    // The file's bytes, or nothing when it is missing or cannot be read.
    std::optional<std::string> readAll(const std::string& path) {
        FileRead result = read(path);
        if (result.status != FileRead::Status::Read) {
            return std::nullopt;
        }
        return std::move(result.bytes);
    }

    // Replaces the file with the bytes that `source` hands over, so that a reader sees
    // either the old or the new contents, never a mix or a truncated file: the pieces go to
    // a temporary file in the same folder, which is flushed to disk and renamed over the
    // target. A symbolic link is written through to its target and stays. When a piece
    // cannot be written the sink says so and the source is stopped. On failure the target
    // is untouched, no temporary file is left, and the failure says why (UTF-8).
    virtual Done writeAtomicallyFrom(const std::string& path, const ByteSource& source) = 0;

    // The same for bytes that are all at hand already.
    Done writeAtomically(const std::string& path, std::string_view bytes) {
        return writeAtomicallyFrom(path, wholeBytes(bytes));
    }

    // Copies `from` over `to`, replacing it. Returns false when it could not.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
};

std::unique_ptr<FileStore> makeSystemFileStore();

}  // namespace quorrel::platform
