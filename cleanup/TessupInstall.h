#pragma once

#include <cstddef>
#include <string>

#include "platform/RegistryStore.h"

namespace quorrel::cleanup {

// Where the Tessup installer records its folder.
inline constexpr const char* kTessupKeyPath = "SOFTWARE\\Varnok\\Tessup";
inline constexpr const char* kTessupPathValue = "PATH";
inline constexpr std::size_t kFolderBufferSize = 1024;

// The folder removed when the Tessup key cannot be opened: "C:\Program Files\Varnok\Tessup"
// on Windows; on Linux "Varnok/Tessup" in the user's data folder ($XDG_DATA_HOME or
// ~/.local/share).
std::string defaultTessupFolder();

// The folder to remove: the key's PATH value, or "" when the key opens but the value cannot
// be read (so nothing is removed), or the default folder when the key cannot be opened.
std::string tessupFolderToRemove(platform::RegistryStore& registry);

// Removes `folder` when it is empty; anything else is left as it is.
void removeEmptyFolder(const std::string& folder);

// Called first: a closed standard output (the uninstaller that started this program has
// gone) makes the message fail quietly instead of ending the program before the folder
// is removed.
void keepRunningWhenOutputCloses();

// Writes the UTF-8 text to standard output in the terminal's encoding.
void printToConsole(const std::string& utf8);

}  // namespace quorrel::cleanup
