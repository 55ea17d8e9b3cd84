#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "base/Expected.h"

namespace quorrel::netsh {

// The resolver file (resolv.conf) as a netsh with rights reads and writes it. The path is
// walked name by name from a folder descriptor without following anything on its own:
// each folder on the way and each symbolic link (followed by hand, at most 40) must be
// root's or the writer's (`owner`), a folder others may write only where it is sticky (as
// /tmp) and not the file's own, and the file, when there, a regular file of at most
// kResolverFileLimit bytes. The file is then read and written through the descriptors of
// that walk, so nothing swapped in meanwhile is reached. Anything else is refused with the
// reason and nothing is read or changed; so a link or folder that another user planted
// can neither show root's files to them, nor make root create files elsewhere, nor keep
// netsh waiting on a FIFO.
inline constexpr std::size_t kResolverFileLimit = 256 * 1024;

// The file's text ("" when it does not exist).
Expected<std::string> readResolverFile(const std::string& path, uid_t owner);

// Replaces the file's text by `rewrite` of it: atomically (temporary file and rename in its
// folder), or in place when the file is a mount point of its own (as `ip netns exec` binds
// one over /etc/resolv.conf) and cannot be renamed over. A file that is missing is created.
// On failure the file is unchanged.
Done rewriteResolverFile(const std::string& path,
                         const std::function<std::string(const std::string&)>& rewrite,
                         uid_t owner);

}  // namespace quorrel::netsh
