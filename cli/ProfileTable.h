#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "adapters/AdapterInfo.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The profile list of `quorrel --list` as a table for a terminal: a heading row, then one
// row per profile in list order with its name, IP address, subnet mask, gateway and DNS
// servers. A DHCP profile shows "DHCP" and "-" for the mask and gateway, automatic DNS
// "자동", a missing value "-". The profile with isCurrent set is marked "*". Columns line
// up in a terminal with a fixed-pitch font, where a Hangul syllable takes two cells.
std::string formatProfileTable(const ProfileList& profiles);

// The adapter's present configuration in one line, after an apply.
std::string describeAdapterSettings(const AdapterInfo& adapter);

// How many terminal cells a UTF-8 text takes: two for wide characters (Hangul, CJK,
// full-width forms), one for every other character.
std::size_t displayWidth(std::string_view utf8);

}  // namespace quorrel
