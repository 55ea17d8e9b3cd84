// The main frame's data start-up: the adapter dialog with the run's inventory (made with
// the frame), then the install folder, the data file, the remembered adapter, the
// adoption of adapter configurations that no profile describes, and the in-use mark.
#include "adapters/CAdapterSelectDlg.h"
#include "app/CMainFrame.h"
#include "app/ProfileMatching.h"
#include "app/Prompter.h"
#include "platform/DebugTrace.h"
#include "platform/PlatformPaths.h"
#include "profiles/Settings.h"

namespace quorrel {

namespace {

void writeDebugLine(const std::string& line) {
    DebugTrace("%s", line.c_str());
}

}  // namespace

platform::RegistryStore& CMainFrame::registry() const {
    return services_.registry != nullptr ? *services_.registry : *ownRegistry_;
}

void CMainFrame::createAdapterSelectDlg() {
    if (services_.registry == nullptr) {
        ownRegistry_ = platform::makeSystemRegistryStore();
    }
    if (services_.adapterTable == nullptr) {
        ownAdapterTable_ = platform::makeSystemAdapterTable();
    }
    if (services_.adapterKeys == nullptr) {
        ownAdapterKeys_ = platform::makeSystemAdapterKeys();
    }
    platform::AdapterTable& table =
        services_.adapterTable != nullptr ? *services_.adapterTable : *ownAdapterTable_;
    platform::AdapterKeys& keys =
        services_.adapterKeys != nullptr ? *services_.adapterKeys : *ownAdapterKeys_;

    // Constructing the dialog object enumerates the adapters.
    adapterSelectDlg = std::make_unique<CAdapterSelectDlg>(AdapterDialogServices{
        table, keys, services_.prompter, registry(),
        [this] { return currentSettings ? currentSettings->connectionName : std::string(); }});
}

void CMainFrame::runDataStartup() {
    Settings settings(registry(), writeDebugLine);

    // 1. The install folder: the one given, else the registry's, else the user's choice.
    if (!services_.installFolder.empty()) {
        installFolder = platform::withTrailingSeparator(services_.installFolder);
    } else {
        const FolderPrompt prompt = [this](const std::string& title, const std::string& start) {
            const std::optional<QString> chosen = services_.prompter.chooseFolder(
                QString::fromStdString(title), QString::fromStdString(start));
            return chosen ? std::make_optional(chosen->toStdString()) : std::nullopt;
        };
        const InstallFolderDefaults defaults{platform::folderSeparator(),
                                             platform::defaultInstallFolder,
                                             platform::cancelledPromptFolder};
        installFolder = settings.determineInstallFolder(prompt, defaults);
    }

    // 2, 3. The backup and the profiles.
    backupProfiles();
    loadProfiles();

    // 4, 5. The adapter chosen last, else the first one.
    AdapterInventory& inventory = adapterSelectDlg->inventory();
    settings.readRememberedAdapter(rememberedAdapter);
    SelectStartupAdapter(inventory, rememberedAdapter);

    // 6, 7, 8. Every adapter configuration that no profile carries becomes a profile.
    profileList.clearCurrentMarks();
    adapterList = inventory.empty() ? nullptr : &inventory.records().front();
    AdoptAdapterSettings(profileList, inventory);

    // 9. The chosen adapter's present configuration and the profile that describes it.
    currentSettings = BuildCurrentSettings(inventory);
    MarkCurrentProfile(profileList, currentSettings);
}

}  // namespace quorrel
