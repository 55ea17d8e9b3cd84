#pragma once

#include <functional>
#include <string>

#include "platform/FileStore.h"

namespace quorrel::platform {

// Files on Linux; every write goes through replaceFileAtomically (system/linux/AtomicFile.h).
class PosixFileStore final : public FileStore {
public:
    FileReadOutcome readInPieces(const std::string& path, const ByteSink& sink) override;
    Done writeAtomicallyFrom(const std::string& path, const ByteSource& source) override;
    bool copyFile(const std::string& from, const std::string& to) override;

    // Called with the temporary file's path after its bytes are on disk and before the
    // rename; lets tests stop a save at its most fragile moment.
    void setBeforeRename(std::function<void(const std::string&)> hook) {
        beforeRename_ = std::move(hook);
    }

private:
    std::function<void(const std::string&)> beforeRename_;
};

}  // namespace quorrel::platform
