#pragma once

#include <memory>
#include <optional>
#include <string>

namespace quorrel::platform {

// Whole-file access for the data file. Paths are UTF-8.
class FileStore {
public:
    virtual ~FileStore() = default;

    // The file's bytes, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> readAll(const std::string& path) = 0;

    // Replaces the file with `bytes` so that a reader sees either the old or the new
    // contents, never a mix or a truncated file: the bytes go to a temporary file in the
    // same folder, are flushed to disk, and the temporary file is renamed over the target.
    // On failure the target is untouched, `error` says why (UTF-8) and false is returned.
    virtual bool writeAtomically(const std::string& path, const std::string& bytes,
                                 std::string& error) = 0;

    // Copies `from` over `to`, replacing it. Returns false when it could not.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
};

std::unique_ptr<FileStore> makeSystemFileStore();

}  // namespace quorrel::platform
