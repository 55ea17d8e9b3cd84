#include "platform/PlatformPaths.h"

namespace quorrel::platform {

char folderSeparator() {
    return '\\';
}

std::string withTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
        folder += '\\';
    }
    return folder;
}

std::string defaultInstallFolder() {
    return "C:\\Program Files\\Varnok\\Quorrel";
}

std::string cancelledPromptFolder() {
    return "C:\\";
}

std::string bundledFilesFolder(const std::string& programFolder) {
    return programFolder;
}

}  // namespace quorrel::platform
