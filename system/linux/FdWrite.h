#pragma once

#include <string_view>

namespace quorrel::system {

// Writes every byte to the open file, going on after short writes and interruptions.
// Returns false on the first real error (errno tells which).
bool writeAllToFd(int fd, std::string_view bytes);

// Writes the whole of the open file `from`, from its start whatever its offset, to `to` at
// its offset, by the kernel where it can (copy_file_range, then sendfile) and by reading
// and writing where it cannot (across some file systems, files of /proc). Returns false on
// the first real error (errno tells which).
bool copyAllToFd(int from, int to);

}  // namespace quorrel::system
