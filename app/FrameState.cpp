#include "app/FrameState.h"

#include "adapters/AdapterInventory.h"
#include "app/ProfileMatching.h"
#include "app/ProfileNames.h"
#include "app/ProfileSaving.h"
#include "listview/ProfileRows.h"
#include "profiles/ProfileFile.h"

namespace quorrel {

FrameState::FrameState(FrameStateServices services) : services_(std::move(services)) {}

std::string FrameState::dataFilePath() const {
    return ProfileDataFile(services_.files, services_.codec, installFolder).dataPath();
}

void FrameState::backupProfiles() {
    ProfileDataFile(services_.files, services_.codec, installFolder).backup();
}

int FrameState::loadProfiles() {
    std::string error;
    switch (
        ProfileDataFile(services_.files, services_.codec, installFolder).load(profileList, error)) {
        case ProfileDataFile::LoadResult::Loaded:
            profilesModified = 0;
            return 1;
        case ProfileDataFile::LoadResult::Missing:
            return 0;  // the first save makes the file
        case ProfileDataFile::LoadResult::Unreadable:
            break;
    }
    // The file is there but could not be read: the list starts empty as for a missing
    // file, but a save would replace profiles this run never saw. Nothing is saved over it
    // until the program starts again, and the user hears that once, now.
    dataFileUnreadable_ = true;
    services_.messages.show(loadFailedMessage(dataFilePath(), error));
    return 0;
}

bool FrameState::writeProfiles(std::string& error) {
    if (!ProfileDataFile(services_.files, services_.codec, installFolder)
             .save(profileList, error)) {
        return false;
    }
    profilesModified = 0;
    return true;
}

int FrameState::saveProfiles() {
    if (dataFileUnreadable_) {
        return 0;
    }
    std::string error;
    if (writeProfiles(error)) {
        return 1;
    }
    services_.messages.show(saveFailedMessage(dataFilePath(), error));
    return 0;
}

void FrameState::saveIfModified() {
    if (profilesModified == 1) {
        saveProfiles();
    }
}

bool FrameState::mayClose() {
    if (dataFileUnreadable_) {
        return true;  // the user was told at the start that nothing is saved
    }
    std::string error;
    const bool saved = writeProfiles(error);
    return mayCloseAfterSave(saved, dataFilePath(), error, services_.messages);
}

void FrameState::runDataStartup(const std::string& givenFolder, Settings& settings,
                                const FolderPrompt& prompt, const InstallFolderDefaults& defaults) {
    installFolder =
        givenFolder.empty() ? settings.determineInstallFolder(prompt, defaults) : givenFolder;
    backupProfiles();
    loadProfiles();
    networks.load(services_.files, services_.codec, installFolder);

    // The adapter chosen last, else the first one.
    settings.readRememberedAdapter(rememberedAdapter);
    SelectStartupAdapter(*inventory_, rememberedAdapter);

    // Every adapter configuration that no profile carries becomes a profile; then the
    // chosen adapter's present configuration marks the profile that describes it.
    profileList.clearCurrentMarks();
    takeAdapterPicture();
    AdoptAdapterSettings(profileList, *inventory_);
    MarkCurrentProfile(profileList, currentSettings);
}

void FrameState::takeAdapterPicture() {
    adapterList = inventory_->empty() ? nullptr : &inventory_->records().front();
    currentSettings = BuildCurrentSettings(*inventory_);
}

void FrameState::readAdaptersAgain() {
    // Nothing may point into the records while they are read again.
    inventory_->clear();
    adapterList = nullptr;
    currentSettings.reset();
    inventory_->enumerate();
    inventory_->markSelected();
    takeAdapterPicture();
}

void FrameState::adapterChosen() {
    profileList.clearCurrentMarks();
    takeAdapterPicture();
    // Without any adapter there is nothing to take over.
    if (MarkCurrentProfile(profileList, currentSettings) == 0 && currentSettings) {
        currentSettings->name = NextFreeProfileName(profileList);
        profileList.append(*currentSettings);
        MarkCurrentProfile(profileList, currentSettings);
    }
}

IpProfile* FrameState::selectedProfile(const ListRows* rows) {
    if (rows == nullptr || rows->rowCount() == 0) {
        return nullptr;
    }
    const int row = rows->firstSelectedRow();
    if (row < 0) {
        return nullptr;
    }
    const std::string shownName = rows->cellText(row, kNameColumn);
    // The row's own profile: the one at its place in the list, while the rows show the list
    // as it is. A name alone would find the first of two profiles that share it.
    const int position = rows->listPosition(row);
    if (position >= 0) {
        IpProfile* atRow = profileList.at(static_cast<std::size_t>(position));
        if (atRow != nullptr && platform::readableText(atRow->name) == shownName) {
            return atRow;
        }
    }
    // Rows made from another list: the first profile of the row's name.
    return profileList.findByName(shownName);
}

}  // namespace quorrel
