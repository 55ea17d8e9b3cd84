#include <memory>

#include "cleanup/TessupInstall.h"

namespace quorrel::cleanup {

std::string tessupFolderToRemove(platform::RegistryStore& registry) {
    std::unique_ptr<platform::RegistryKey> key;
    if (registry.openKey(kTessupKeyPath, platform::RegAccess::AllAccess, key) !=
        platform::RegStatus::Ok) {
        return defaultTessupFolder();
    }
    // A missing, overlong or mistyped value leaves the folder empty: nothing is removed.
    std::string folder;
    if (key->queryString(kTessupPathValue, kFolderBufferSize, folder) != platform::RegStatus::Ok) {
        folder.clear();
    }
    return folder;
}

}  // namespace quorrel::cleanup
