#pragma once

#include <string>
#include <string_view>

namespace quorrel::system {

// Where the programs named in command lines are looked for.
struct ProgramLookup {
    std::string ownFolder;     // folder of our helper programs, ending in '/' (InstalledLayout.h)
    std::string searchPath;    // PATH: folders separated by ':'
    std::string netshProgram;  // QUORREL_NETSH, when set: replaces our netsh
    std::string ipconfigProgram;  // QUORREL_IPCONFIG, when set: replaces our ipconfig
};

// The lookup of this process: its own folder and its environment.
ProgramLookup systemProgramLookup();

// The file to start for the program name of a command line, or an empty text (and
// `reason`) when there is none. "netsh.exe" and "ipconfig.exe" (also without ".exe", in
// any case) are our own programs beside the running one; a name with a '/' is taken as
// it stands; other names are looked up in PATH, where a trailing ".exe" may be dropped
// when only the name without it exists.
std::string findProgram(const std::string& name, const ProgramLookup& lookup, std::string& reason);

// Whether `path` names a regular file that we may execute.
bool isExecutableFile(const std::string& path);

// The first executable file named `name` in the folders of `searchPath` (separated by ':',
// searched in order), or an empty text.
std::string findInSearchPath(const std::string& name, std::string_view searchPath);

}  // namespace quorrel::system
