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
    if (!ProfileDataFile(services_.files, services_.codec, installFolder).load(profileList)) {
        return 0;
    }
    profilesModified = 0;
    return 1;
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
    return profileList.findByName(rows->cellText(row, kNameColumn));
}

}  // namespace quorrel
