#pragma once

#include <optional>
#include <string>

#include "adapters/AdapterInfo.h"
#include "adapters/AdapterInventory.h"
#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The rules that connect the stored profiles with the adapters' present configurations.

// The selected adapter's present configuration as a profile: the first record with
// `selected` 1, its texts copied as they are (also those the adapter obtained by DHCP),
// `isCurrent` 0 and no name. None when no record is selected.
std::optional<IpProfile> BuildCurrentSettings(const AdapterInventory& inventory);

// Whether profile `p` describes the present configuration `s` (in-use rules 1 to 3).
bool DescribesCurrentSettings(const IpProfile& p, const IpProfile& s);

// Marks the first profile, in list order, that describes `settings`. Other marks are left
// alone (callers clear them first). Returns 1 when a profile was marked, else 0, also for
// no settings or an empty list.
int MarkCurrentProfile(ProfileList& list, const IpProfile* settings);
int MarkCurrentProfile(ProfileList& list, const std::optional<IpProfile>& settings);

// Whether profile `p` carries adapter `a`'s settings (adoption rules 1' to 3'). These differ
// from the in-use rules: the "0.0.0.0" tests look at the adapter's DNS texts, and both
// sides must have manual DNS.
bool CarriesAdapterSettings(const IpProfile& p, const AdapterInfo& a);

// Adapter `a`'s configuration as the data start-up takes it over: under DHCP no address
// texts, with automatic DNS no DNS texts, otherwise a's texts; no name, no adapter fields,
// not in use.
IpProfile AdoptedProfile(const AdapterInfo& a);

// Appends a profile named "설정[n]" for every record, in inventory order and whatever its
// mark, whose settings no profile carries at that moment.
void AdoptAdapterSettings(ProfileList& list, const AdapterInventory& inventory);

// The data start-up's marks in one walk over the list: every mark cleared, then
// AdoptAdapterSettings, then MarkCurrentProfile with `settings`, with the same result as
// those three steps one after another. Returns the marked profile, or nullptr.
const IpProfile* AdoptAndMarkAtStartUp(ProfileList& list, const AdapterInventory& inventory,
                                       const std::optional<IpProfile>& settings);

// The start-up choice of adapter: the remembered connection name when there is one, else
// the first adapter's; then the matching record (or the first) is marked.
void SelectStartupAdapter(AdapterInventory& inventory, const std::string& rememberedAdapter);

}  // namespace quorrel
