#pragma once

#include <string>
#include <string_view>

#include "profiles/ProfileList.h"

namespace quorrel {

// "설정[n]" with the lowest n from 1 that no profile in `list` is named.
std::string NextFreeProfileName(const ProfileList& list);

// "복원[n]" with the lowest n from 1 that no profile in `list` is named: the profile that
// keeps a configuration that could not be put back.
std::string NextFreeRestoreName(const ProfileList& list);

// "<source>[n]" with the lowest n from 1 that no profile in `list` is named. The source
// name is taken character for character: a "%" in it stays a "%".
std::string CopyProfileName(const ProfileList& list, std::string_view sourceName);

}  // namespace quorrel
