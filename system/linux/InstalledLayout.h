#pragma once

#include <string>

namespace quorrel::system {

// Where the parts of an installed Quorrel lie. The package puts the program in the
// system's program folder (/usr/bin) and what only it starts (the window program, netsh,
// ipconfig) in a folder of its own (/usr/libexec/quorrel), where users do not run them by
// name, and the help book with the shared data (/usr/share/quorrel). A program in either
// folder finds the others there; a program run from anywhere else (a build folder) finds
// them all beside itself.
//
// `ownFolder` is the running program's folder, ending in '/'; so is each result.
std::string helperFolderFor(const std::string& ownFolder);
std::string sharedDataFolderFor(const std::string& ownFolder);

}  // namespace quorrel::system
