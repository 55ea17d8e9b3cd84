#pragma once

#include <string>

#include "app/DataPrefetch.h"
#include "base/MessagePresenter.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/IpProfile.h"
#include "profiles/NetworkMemory.h"
#include "profiles/ProfileList.h"
#include "profiles/Settings.h"

namespace quorrel {

// What the profile store works with; the owner keeps it alive.
struct ProfileStoreServices {
    platform::FileStore& files;
    const platform::TextCodec& codec;
    // The frame's message boxes.
    MessagePresenter& messages;
    // One line for the debugger output.
    DebugWriter trace;
};

// The profiles and the files that keep them: "quorrel.dat" in the install folder, its
// backup, and the networks the profiles were used on ("quorrel.net" beside it). A data
// file that is there but cannot be read is named to the user once by loadProfiles and is
// then never saved over in this run, neither by the commands nor at closing.
class ProfileStore {
public:
    explicit ProfileStore(ProfileStoreServices services);

    ProfileList profileList;
    // 1 after a command changed the profiles and before they were saved.
    int profilesModified = 0;
    std::string installFolder;
    // Loaded by open; a renamed profile takes its network along, a deleted one takes it
    // away (carryNetwork).
    NetworkMemory networks;

    // The start of the data: the install folder, the backup, the profiles and their
    // networks. The backup and the profiles come from `prefetch` when it read this folder;
    // otherwise it is waited for, and they are made here.
    void open(const std::string& folder, DataPrefetch* prefetch = nullptr);
    // loadProfiles appends what the data file holds and clears profilesModified;
    // saveProfiles rewrites it, clears profilesModified, and on failure tells the user
    // which file could not be written. Both return 1 on success, 0 on failure.
    std::string dataFilePath() const;
    void backupProfiles();
    int loadProfiles();
    int saveProfiles();
    // Saves when a command has changed the profiles.
    void saveIfModified();
    // Closing the window saves the profiles; after a failed save the user decides whether
    // to close anyway. After an unreadable data file nothing is saved and the window closes.
    bool mayClose();
    // The profile that carries the in-use mark, or nullptr.
    const IpProfile* markedProfile() const;

    // The networks (ProfileNetworks.cpp). What the frame saw on the chosen adapter for the
    // profile `profileName`, after an apply (whose checks passed, when they ran) or at
    // start-up for the profile in use. Saved at once when it changes what is remembered; a profile
    // no longer listed remembers nothing.
    void rememberNetwork(const std::string& profileName, const NetworkFingerprint& seen,
                         NetworkMemory::Moment moment);
    // After a rename or a delete: the network of `from` goes to `to` (empty: it goes), unless
    // another profile still has the name `from`.
    void carryNetwork(const std::string& from, const std::string& to);

private:
    // What loadProfiles does after the data file was read (or found missing) into the list.
    int tookProfiles(const Expected<ProfileDataFile::Found>& loaded);
    Done writeProfiles();
    void saveNetworks();

    ProfileStoreServices services_;
    // The data file was there but could not be read: nothing is saved over it this run.
    bool dataFileUnreadable_ = false;
};

}  // namespace quorrel
