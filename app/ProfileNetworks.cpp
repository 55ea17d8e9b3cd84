// The profile store's memory of the networks its profiles were used on.
#include "app/ProfileStore.h"

namespace quorrel {

void ProfileStore::rememberNetwork(const std::string& profileName, const NetworkFingerprint& seen,
                                   NetworkMemory::Moment moment) {
    if (profileList.findByName(profileName) == nullptr) {
        return;
    }
    if (networks.remember(profileName, seen, moment)) {
        saveNetworks();
    }
}

void ProfileStore::saveNetworks() {
    // Profiles this run never saw may have networks in the file.
    if (dataFileUnreadable_) {
        return;
    }
    const Done saved = networks.save(services_.files, services_.codec, installFolder);
    if (!saved && services_.trace) {
        // Only remembered for recognition: nothing the user has to act on.
        services_.trace(NetworkMemory::path(installFolder) + ": " + saved.error());
    }
}

void ProfileStore::carryNetwork(const std::string& from, const std::string& to) {
    if (from == to || profileList.findByName(from) != nullptr) {
        return;
    }
    if (to.empty() ? networks.forget(from) : networks.rename(from, to)) {
        saveNetworks();
    }
}

}  // namespace quorrel
