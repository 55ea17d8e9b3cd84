#include "app/ProfileStore.h"

#include <optional>

#include "app/ProfileSaving.h"
#include "profiles/ProfileFile.h"

namespace quorrel {

ProfileStore::ProfileStore(ProfileStoreServices services) : services_(std::move(services)) {}

void ProfileStore::open(const std::string& folder, DataPrefetch* prefetch) {
    installFolder = folder;
    // Taken in any case: until then the files are the prefetch's alone.
    std::optional<DataPrefetch::Read> read;
    if (prefetch != nullptr) {
        read = prefetch->take();
    }
    if (read && prefetch->installFolder() == folder && profileList.empty()) {
        profileList = std::move(read->profiles);
        tookProfiles(read->found);
    } else {
        backupProfiles();
        loadProfiles();
    }
    networks.load(services_.files, services_.codec, installFolder);
}

std::string ProfileStore::dataFilePath() const {
    return ProfileDataFile(services_.files, services_.codec, installFolder).dataPath();
}

void ProfileStore::backupProfiles() {
    ProfileDataFile(services_.files, services_.codec, installFolder).backup();
}

int ProfileStore::loadProfiles() {
    return tookProfiles(
        ProfileDataFile(services_.files, services_.codec, installFolder).load(profileList));
}

int ProfileStore::tookProfiles(const Expected<ProfileDataFile::Found>& loaded) {
    if (loaded) {
        if (*loaded == ProfileDataFile::Found::Missing) {
            return 0;  // the first save makes the file
        }
        profilesModified = 0;
        return 1;
    }
    // The file is there but could not be read: the list starts empty as for a missing
    // file, but a save would replace profiles this run never saw. Nothing is saved over it
    // until the program starts again, and the user hears that once, now.
    dataFileUnreadable_ = true;
    services_.messages.show(loadFailedMessage(dataFilePath(), loaded.error()));
    return 0;
}

Done ProfileStore::writeProfiles() {
    Done written =
        ProfileDataFile(services_.files, services_.codec, installFolder).save(profileList);
    if (written) {
        profilesModified = 0;
    }
    return written;
}

int ProfileStore::saveProfiles() {
    if (dataFileUnreadable_) {
        return 0;
    }
    const Done written = writeProfiles();
    if (written) {
        return 1;
    }
    services_.messages.show(saveFailedMessage(dataFilePath(), written.error()));
    return 0;
}

void ProfileStore::saveIfModified() {
    if (profilesModified == 1) {
        saveProfiles();
    }
}

bool ProfileStore::mayClose() {
    if (dataFileUnreadable_) {
        return true;  // the user was told at the start that nothing is saved
    }
    const Done written = writeProfiles();
    return mayCloseAfterSave(written.ok(), dataFilePath(), written.error(), services_.messages);
}

const IpProfile* ProfileStore::markedProfile() const {
    for (const IpProfile& profile : profileList) {
        if (profile.isCurrent == 1) {
            return &profile;
        }
    }
    return nullptr;
}

}  // namespace quorrel
