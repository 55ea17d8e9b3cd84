#pragma once

#include <string>

namespace quorrel::platform {

// Folders the program falls back on, named once per platform.

// The platform's folder separator: '\\' on Windows, '/' elsewhere.
char folderSeparator();

// `folder` with exactly one folder separator at its end.
std::string withTrailingSeparator(std::string folder);

// The install folder used until the registry names one: the folder the folder prompt
// starts in. On Linux the user's data folder for Varnok/Quorrel (made only for the
// prompt, see PromptStartFolder); on Windows "C:\Program Files\Varnok\Quorrel".
std::string defaultInstallFolder();

// The install folder when the user cancels the folder prompt: the user's home folder on
// Linux, "C:\" on Windows. Ends in the folder separator.
std::string cancelledPromptFolder();

// Where the files that come with the program (the help book) lie, for the program in
// `programFolder` (ending in the separator): beside it on Windows and when run from a
// build; the shared data folder of the package (/usr/share/quorrel/) when it is the
// installed program on Linux.
std::string bundledFilesFolder(const std::string& programFolder);

}  // namespace quorrel::platform
