#include "system/linux/InstalledLayout.h"

namespace quorrel::system {

namespace {

// The install folders, from the build (GNUInstallDirs), each with a trailing '/'.
constexpr const char* kBinFolder = QUORREL_INSTALL_BINDIR "/";
constexpr const char* kHelperFolder = QUORREL_INSTALL_HELPERDIR "/";
constexpr const char* kDataFolder = QUORREL_INSTALL_DATADIR "/";

}  // namespace

std::string helperFolderFor(const std::string& ownFolder) {
    return ownFolder == kBinFolder ? kHelperFolder : ownFolder;
}

std::string sharedDataFolderFor(const std::string& ownFolder) {
    return ownFolder == kBinFolder || ownFolder == kHelperFolder ? kDataFolder : ownFolder;
}

}  // namespace quorrel::system
