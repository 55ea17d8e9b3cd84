#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "adapters/AdapterInfo.h"
#include "adapters/AdapterInventory.h"
#include "cli/ExitCode.h"
#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// Which profile and which adapter a command-line apply means. A script names them by text,
// so a name that fits two records is refused rather than guessed, unlike the window, where
// the user points at a row.

struct ProfileChoice {
    const IpProfile* profile = nullptr;  // set when exactly one profile has the name
    ExitCode verdict = ExitCode::UnknownProfile;
    std::string message;  // why not, for the user; empty when chosen
};

// The profile whose name equals `name` exactly (bytes, case and blanks included).
ProfileChoice chooseProfile(const ProfileList& profiles, const std::string& name);

struct AdapterChoice {
    const AdapterInfo* adapter = nullptr;  // set when exactly one adapter is meant
    ExitCode verdict = ExitCode::UnknownAdapter;
    std::string message;
};

// The adapter of an apply: the one named by `given` (--adapter); without it the remembered
// adapter (the settings' AdapterName while AutoCheck is set), and without that the first
// adapter, as the window selects at start-up. The window stands in the first adapter for a
// remembered one that has gone; a script is refused instead, so that it never changes an
// adapter nobody chose.
AdapterChoice chooseAdapter(const AdapterInventory& inventory,
                            const std::optional<std::string>& given, const std::string& remembered);

// The connection names of the inventory, in platform order, for messages: "eth0, wlan0".
std::string adapterNames(const AdapterInventory& inventory);

}  // namespace quorrel
