#pragma once

#include <optional>
#include <string>

#include "adapters/AdapterInfo.h"
#include "app/ProfileCommandRules.h"
#include "app/RestorePoint.h"
#include "apply/ApplyPlan.h"
#include "base/ListRows.h"
#include "base/MessagePresenter.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/IpProfile.h"
#include "profiles/NetworkMemory.h"
#include "profiles/ProfileList.h"
#include "profiles/Settings.h"

namespace quorrel {

class AdapterInventory;

// What the main frame's state works with; the owner keeps it alive.
struct FrameStateServices {
    platform::FileStore& files;
    const platform::TextCodec& codec;
    // The frame's message boxes.
    MessagePresenter& messages;
    // One line for the debugger output.
    DebugWriter trace;
};

// The main frame's working state and the decisions of its commands, kept apart from the
// widgets: the frame runs the dialogs and refills the list, this object decides what
// changes. The commands that need the list's selection are given the list's rows.
class FrameState {
public:
    explicit FrameState(FrameStateServices services);

    // The profiles, the picture of the chosen adapter (currentSettings, null without an
    // adapter) and the flags of the commands.
    ProfileList profileList;
    std::optional<IpProfile> currentSettings;
    int profilesModified = 0;
    std::string lastAppliedName;
    int applyBusy = 0;
    std::string installFolder;
    std::string rememberedAdapter;
    // Texts the apply confirmation shows.
    std::string confirmConnectionName;
    std::string confirmIpAddress;
    std::string confirmSubnetMask;
    std::string confirmGateway;
    // The inventory's first record, taken afresh after every enumeration.
    const AdapterInfo* adapterList = nullptr;

    // The run's adapter inventory; the adapter selection dialog owns it and outlives this
    // object's use of it.
    void attachInventory(AdapterInventory& inventory) { inventory_ = &inventory; }

    // The data file "quorrel.dat" of the install folder. loadProfiles appends what the
    // file holds and clears profilesModified; saveProfiles rewrites it, clears
    // profilesModified, and on failure tells the user which file could not be written.
    // Both return 1 on success, 0 on failure. A data file that is there but cannot be read
    // is named to the user once by loadProfiles and is then never saved over in this run,
    // neither by the commands nor at closing.
    std::string dataFilePath() const;
    void backupProfiles();
    int loadProfiles();
    int saveProfiles();
    // Saves when a command has changed the profiles.
    void saveIfModified();
    // Closing the window saves the profiles; after a failed save the user decides whether
    // to close anyway. After an unreadable data file nothing is saved and the window closes.
    bool mayClose();

    // The data start-up: the install folder (`givenFolder` when not empty, else the one
    // the settings name or the user picks), the backup and the profiles, the remembered
    // adapter, the adoption of adapter configurations that no profile describes, and the
    // in-use mark.
    void runDataStartup(const std::string& givenFolder, Settings& settings,
                        const FolderPrompt& prompt, const InstallFolderDefaults& defaults);

    // After the adapter dialog's OK made another adapter the choice: the new adapter's
    // picture and in-use mark. A configuration that no profile describes is taken over as
    // a new profile "설정[n]", which then carries the mark.
    void adapterChosen();

    // The profile behind the first selected row, or nullptr: the record at the row's place
    // in the list while that record still shows the row's name, else the first profile of
    // the row's name. Two profiles may share a name (a hand-edited data file); the commands
    // act on the one selected.
    IpProfile* selectedProfile(const ListRows* rows);

    // An apply, in three steps around the frame's dialogs. `chosen` is the listed record to
    // apply (the edit command re-applies the record it edited, whatever other profile
    // shares its name); `profileName` names the profile, the first of that name. Without
    // either, the first selected row's profile is applied.
    // First the texts to confirm: the row as shown, or the chosen profile's own values.
    // None when there is nothing to confirm; without an adapter the user has been asked to
    // choose one, and an adapter name that the command lines cannot carry is refused with
    // a message before anything is asked.
    std::optional<ConfirmationTexts> confirmApply(IpProfile* chosen, const ListRows* rows);
    std::optional<ConfirmationTexts> confirmApply(const std::optional<std::string>& profileName,
                                                  const ListRows* rows);
    // After the confirmation, the command lines, with the apply marked as running. None
    // when the profile has gone, an apply is running or there is no adapter.
    std::optional<ApplyPlan> beginApply(IpProfile* chosen, const ListRows* rows);
    std::optional<ApplyPlan> beginApply(const std::optional<std::string>& profileName,
                                        const ListRows* rows);
    // Then the end of the command lines. Success (every line ran and exited with 0) marks
    // the record applied, not the first of its name, and reads the adapters again; a
    // failure changes nothing. The user is told either way; the failure message carries
    // `details` (why the lines failed, in their own words) as its details.
    void finishApply(bool succeeded, const std::string& details = {});

    // The profile commands. addProfile appends the editor's new profile; copySelected
    // appends a copy of the selected row's profile (false without one).
    void addProfile(const IpProfile& profile);
    bool copySelected(const ListRows* rows);
    // After the editor ended with OK on `listed`: takes the edited copy over when anything
    // changed. The profile applied last keeps counting as applied under a new name.
    EditOutcome takeEdit(IpProfile& listed, const IpProfile& edited);
    // Removes the selected row's profile after asking; the profile in use is refused. Of
    // two equal profiles the selected record goes. True when a profile was removed (and the
    // file saved).
    bool deleteSelected(const ListRows* rows);
    // The print command while no list view has taken it.
    void printNotReady();

    // The safety net of an apply, "적용 후 연결 확인" in the tools menu (FrameSafety.cpp).
    bool checkAfterApply = false;
    // Before an apply while it is on: reads the adapters afresh and keeps the chosen
    // adapter's present configuration, the profile in use and the name applied last. None
    // without an adapter or while an apply runs.
    std::optional<RestorePoint> restorePointBeforeApply();
    // The profile that carries the in-use mark (the one a successful apply marked), or
    // nullptr.
    const IpProfile* markedProfile() const;
    // The command lines that put the restore point back, with the apply marked as running;
    // none while another apply runs.
    std::optional<ApplyPlan> beginPutBack(const RestorePoint& point);
    // The end of those lines. Success: the adapters are read again, the mark and the name
    // applied last are those of before, and the user is told. Failure: the previous
    // configuration is kept as the profile "복원[n]" and saved at once, the user is told,
    // and the adapters are read again and the mark follows what they show.
    void finishPutBack(const RestorePoint& point, bool succeeded);

    // The networks the profiles were used on ("quorrel.net", FrameNetworks.cpp), loaded by
    // the data start-up. A renamed profile takes its network along, a deleted one takes it
    // away.
    NetworkMemory networks;
    // What the frame saw on the chosen adapter for the profile `profileName`, after an apply
    // (whose checks passed, when they ran) or at start-up for the profile in use. Saved at
    // once when it changes what is remembered; a profile no longer listed remembers nothing.
    void rememberNetwork(const std::string& profileName, const NetworkFingerprint& seen,
                         NetworkMemory::Moment moment);

private:
    bool writeProfiles(std::string& error);
    void saveNetworks();
    // After a rename or a delete: the network of `from` goes to `to` (empty: it goes), unless
    // another profile still has the name `from`.
    void carryNetwork(const std::string& from, const std::string& to);
    // adapterList and currentSettings from the inventory as it is.
    void takeAdapterPicture();
    // Reads the adapters afresh, marks the chosen one and takes its picture.
    void readAdaptersAgain();

    FrameStateServices services_;
    AdapterInventory* inventory_ = nullptr;
    // The data file was there but could not be read: nothing is saved over it this run.
    bool dataFileUnreadable_ = false;
    // The record being applied between beginApply and finishApply; nothing can remove it
    // while the frame's modal dialogs run.
    IpProfile* applying_ = nullptr;
    std::string applyingName_;
};

}  // namespace quorrel
