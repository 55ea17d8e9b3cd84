#pragma once

#include "base/ListRows.h"
#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The profile behind the first selected row, or nullptr: the record at the row's place in
// `list` while that record still shows the row's name, else the first profile of the
// row's name. Two profiles may share a name (a hand-edited data file); the commands act on
// the one selected.
IpProfile* selectedProfile(ProfileList& list, const ListRows* rows);

}  // namespace quorrel
