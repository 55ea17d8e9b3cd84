#include "system/linux/ProgramLookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "system/OwnProgram.h"
#include "system/linux/InstalledLayout.h"

namespace quorrel::system {

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ourProgram(const std::string& overridePath, const std::string& ownFolder,
                       const char* fileName, std::string& reason) {
    const std::string path = overridePath.empty() ? ownFolder + fileName : overridePath;
    if (!isExecutableFile(path)) {
        reason = "no executable program at " + path;
        return {};
    }
    return path;
}

}  // namespace

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string findInSearchPath(const std::string& name, std::string_view searchPath) {
    std::size_t pos = 0;
    while (pos <= searchPath.size()) {
        std::size_t colon = searchPath.find(':', pos);
        if (colon == std::string_view::npos) {
            colon = searchPath.size();
        }
        std::string folder(searchPath.substr(pos, colon - pos));
        if (!folder.empty()) {
            if (folder.back() != '/') {
                folder += '/';
            }
            if (isExecutableFile(folder + name)) {
                return folder + name;
            }
        }
        pos = colon + 1;
    }
    return {};
}

ProgramLookup systemProgramLookup() {
    ProgramLookup lookup;
    lookup.ownFolder = helperFolderFor(ownProgramFolder());
    lookup.searchPath = environmentValue("PATH");
    lookup.netshProgram = environmentValue("QUORREL_NETSH");
    lookup.ipconfigProgram = environmentValue("QUORREL_IPCONFIG");
    return lookup;
}

std::string findProgram(const std::string& name, const ProgramLookup& lookup, std::string& reason) {
    if (name.empty()) {
        reason = "empty program name";
        return {};
    }
    const std::string lower = lowerAscii(name);
    if (lower == "netsh.exe" || lower == "netsh") {
        return ourProgram(lookup.netshProgram, lookup.ownFolder, "netsh", reason);
    }
    if (lower == "ipconfig.exe" || lower == "ipconfig") {
        return ourProgram(lookup.ipconfigProgram, lookup.ownFolder, "ipconfig", reason);
    }
    if (name.find('/') != std::string::npos) {
        if (isExecutableFile(name)) {
            return name;
        }
        reason = "no executable program at " + name;
        return {};
    }
    std::string found = findInSearchPath(name, lookup.searchPath);
    if (found.empty() && lower.size() > 4 && lower.ends_with(".exe")) {
        found = findInSearchPath(name.substr(0, name.size() - 4), lookup.searchPath);
    }
    if (found.empty()) {
        reason = "program not found in PATH: " + name;
    }
    return found;
}

}  // namespace quorrel::system
