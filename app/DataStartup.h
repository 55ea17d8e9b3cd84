#pragma once

#include <string>

#include "app/ChosenAdapter.h"
#include "app/ProfileStore.h"
#include "profiles/Settings.h"

namespace quorrel {

// The data start-up of the frame: the install folder (`givenFolder` when not empty, else
// the one the settings name or the user picks), the backup, the profiles and their
// networks, the remembered adapter, the adoption of adapter configurations that no profile
// describes, and the in-use mark. Returns the profile in use, or nullptr. The backup and the
// profiles come from `prefetch` when it read the folder this start-up opens.
const IpProfile* runDataStartup(ProfileStore& store, ChosenAdapter& adapter,
                                const std::string& givenFolder, Settings& settings,
                                const FolderPrompt& prompt, const InstallFolderDefaults& defaults,
                                DataPrefetch* prefetch = nullptr);

}  // namespace quorrel
