#pragma once

#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The copy command's new profile: the settings of `source` under the copy name
// "<name>[n]" (lowest free n), without the in-use mark and without adapter fields.
IpProfile makeProfileCopy(const IpProfile& source, const ProfileList& list);

// The edit command's working copy of a listed profile: name, the two flags and the five
// address texts; no in-use mark, no adapter fields.
IpProfile makeEditCopy(const IpProfile& source);

// What the edit command does after the editor ended with OK.
struct EditOutcome {
    bool changed = false;     // take the working copy over, save, refill the list
    bool reapply = false;     // apply the profile again: it was the one applied last
    bool renameOnly = false;  // only the name changed: the applied name follows it
};

// Compares the edited copy with the listed profile field by field (exact texts).
// `wasApplied`: the listed profile's name is the name applied last. A changed profile that
// was applied last is applied again, unless only its name changed.
EditOutcome decideEdit(const IpProfile& listed, const IpProfile& edited, bool wasApplied);

// Copies name, flags and address texts of `edited` into `listed`; its position in the list
// and its in-use mark stay.
void takeOverEdit(IpProfile& listed, const IpProfile& edited);

}  // namespace quorrel
