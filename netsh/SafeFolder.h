#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quorrel::netsh {

// Makes sure a folder that a netsh with rights writes into is root's alone, creating what
// is missing of it (mode 0755, owned by root). Every part of the path is opened from "/"
// down without following symbolic links; each must be a folder owned by root (or by
// `owner`: tests pass their own user), and none may be writable by others, except that a
// parent that is sticky (as /tmp) may be. So nobody but root can replace or redirect any
// part of it afterwards, and the files netsh then opens inside by name are the ones it
// means. Returns "" when the folder is fit, else why not.
std::string secureFolder(const std::string& path, uid_t owner = 0);

// The names of a path's parts in order, without empty ones and ".".
std::vector<std::string> namesInPath(const std::string& path);

}  // namespace quorrel::netsh
