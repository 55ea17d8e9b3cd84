#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/ByteSource.h"
#include "base/Expected.h"

namespace quorrel::platform {

// What reading a whole file gave: its bytes, or that there is no such file, or that a file
// is there but could not be read (no permission, an I/O error, a folder by that name).
struct FileRead {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
    std::string error;  // why it could not be read (UTF-8); empty unless Unreadable
};

// Whole-file access for the data file. Paths are UTF-8.
class FileStore {
public:
    virtual ~FileStore() = default;

    virtual FileRead read(const std::string& path) = 0;

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
