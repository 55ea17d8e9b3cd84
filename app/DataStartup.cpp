#include "app/DataStartup.h"

namespace quorrel {

void runDataStartup(ProfileStore& store, ChosenAdapter& adapter, const std::string& givenFolder,
                    Settings& settings, const FolderPrompt& prompt,
                    const InstallFolderDefaults& defaults) {
    store.open(givenFolder.empty() ? settings.determineInstallFolder(prompt, defaults)
                                   : givenFolder);
    adapter.startUp(settings, store.profileList);
}

}  // namespace quorrel
