// The main frame's data start-up: the adapter dialog with the run's inventory (made with
// the frame), then the start-up of the profiles and the chosen adapter with the platform's folders
// and the folder prompt.
#include "adapters/ui/CAdapterSelectDlg.h"
#include "app/DataStartup.h"
#include "app/ui/CMainFrame.h"
#include "base/ui/Prompter.h"
#include "platform/PlatformPaths.h"
#include "platform/PromptStartFolder.h"
#include "profiles/Settings.h"

namespace quorrel {

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
    adapterSelectDlg_ = std::make_unique<CAdapterSelectDlg>(AdapterDialogServices{
        table, keys, services_.prompter, registry(), [this] {
            return adapter_.currentSettings ? adapter_.currentSettings->connectionName
                                            : std::string();
        }});
    adapter_.attachInventory(adapterSelectDlg_->inventory());
}

const IpProfile* CMainFrame::runDataStartup() {
    Settings settings(registry(), traceLine);
    // The install folder: the one given, else the registry's, else the user's choice.
    const std::string givenFolder = services_.installFolder.empty()
                                        ? std::string()
                                        : platform::withTrailingSeparator(services_.installFolder);
    const FolderPrompt prompt = [this](const std::string& title, const std::string& start) {
        // The prompt starts in the default folder, made for it; a cancel (or another
        // folder) takes it away again.
        platform::PromptStartFolder startFolder(start);
        const std::optional<QString> chosen = services_.prompter.chooseFolder(
            QString::fromStdString(title), QString::fromStdString(start));
        const std::optional<std::string> folder =
            chosen ? std::make_optional(chosen->toStdString()) : std::nullopt;
        startFolder.finish(folder);
        return folder;
    };
    const InstallFolderDefaults defaults{platform::folderSeparator(),
                                         platform::defaultInstallFolder,
                                         platform::cancelledPromptFolder};
    return quorrel::runDataStartup(store_, adapter_, givenFolder, settings, prompt, defaults,
                                   services_.dataPrefetch);
}

}  // namespace quorrel
