#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/PlatformPaths.h"
#include "system/linux/InstalledLayout.h"

namespace quorrel::platform {

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/";
}

std::string dataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return xdg;
    }
    return withTrailingSeparator(homeFolder()) + ".local/share";
}

}  // namespace

char folderSeparator() {
    return '/';
}

std::string withTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string defaultInstallFolder() {
    return withTrailingSeparator(dataHome()) + "Varnok/Quorrel";
}

std::string cancelledPromptFolder() {
    return withTrailingSeparator(homeFolder());
}

std::string bundledFilesFolder(const std::string& programFolder) {
    return system::sharedDataFolderFor(programFolder);
}

}  // namespace quorrel::platform
