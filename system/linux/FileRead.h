#pragma once

#include <optional>
#include <span>
#include <string>

#include "base/ByteSource.h"

namespace quorrel::system {

// The whole file's bytes, or nothing when it cannot be opened or read (missing, no
// permission, a folder, an I/O error). Reads with plain system calls, so that a look at
// many small files (those of /proc) stays cheap.
std::optional<std::string> readWholeFile(const std::string& path);

// Reads the open file `fd` from where it stands to its end and hands the bytes in order to
// `sink`, each read's bytes as one piece of at most `buffer.size()` bytes; the sink's first
// false ends the reading. An interrupted read is tried again. Returns 0, or the errno of the
// read that failed (the pieces before it were handed on).
int readToEnd(int fd, std::span<char> buffer, const ByteSink& sink);

}  // namespace quorrel::system
