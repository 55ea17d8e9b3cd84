#include "app/DataStartup.h"

namespace quorrel {

const IpProfile* runDataStartup(ProfileStore& store, ChosenAdapter& adapter,
                                const std::string& givenFolder, Settings& settings,
                                const FolderPrompt& prompt, const InstallFolderDefaults& defaults,
                                DataPrefetch* prefetch) {
    store.open(
        givenFolder.empty() ? settings.determineInstallFolder(prompt, defaults) : givenFolder,
        prefetch);
    return adapter.startUp(settings, store.profileList);
}

}  // namespace quorrel
