#pragma once

#include <optional>
#include <string>

namespace quorrel::system {

// The whole file's bytes, or nothing when it cannot be opened or read (missing, no
// permission, a folder, an I/O error). Reads with plain system calls, so that a look at
// many small files (those of /proc) stays cheap.
std::optional<std::string> readWholeFile(const std::string& path);

}  // namespace quorrel::system
