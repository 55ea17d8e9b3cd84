#pragma once

#include <string>

#include "app/ProfileCommandRules.h"
#include "app/ProfileStore.h"
#include "base/ListRows.h"
#include "base/MessagePresenter.h"
#include "profiles/IpProfile.h"

namespace quorrel {

// The decisions of the profile commands on the profiles of `store`; the commands that need
// the list's selection are given the list's rows. `lastAppliedName` is the apply's name
// applied last, which an edit carries along. The owner keeps all three alive.
class ProfileCommands {
public:
    ProfileCommands(ProfileStore& store, std::string& lastAppliedName, MessagePresenter& messages);

    // addProfile appends the editor's new profile; copySelected appends a copy of the
    // selected row's profile (false without one).
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

private:
    ProfileStore& store_;
    std::string& lastAppliedName_;
    MessagePresenter& messages_;
};

}  // namespace quorrel
