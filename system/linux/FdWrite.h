#pragma once

#include <string_view>

namespace quorrel::system {

// Writes every byte to the open file, going on after short writes and interruptions.
// Returns false on the first real error (errno tells which).
bool writeAllToFd(int fd, std::string_view bytes);

}  // namespace quorrel::system
