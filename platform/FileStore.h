#pragma once

#include <memory>
#include <optional>
#include <string>

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

    // Replaces the file with `bytes` so that a reader sees either the old or the new
    // contents, never a mix or a truncated file: the bytes go to a temporary file in the
    // same folder, are flushed to disk, and the temporary file is renamed over the target.
    // A symbolic link is written through to its target and stays. On failure the target is
    // untouched and the failure says why (UTF-8).
    virtual Done writeAtomically(const std::string& path, const std::string& bytes) = 0;

    // Copies `from` over `to`, replacing it. Returns false when it could not.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
};

std::unique_ptr<FileStore> makeSystemFileStore();

}  // namespace quorrel::platform
