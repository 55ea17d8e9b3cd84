#pragma once

#include <optional>
#include <string>

#include "adapters/AdapterInventory.h"
#include "apply/ApplyPlan.h"
#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// What an apply changes, kept before it starts, so that the previous configuration can be
// put back: the adapter's configuration as a profile, exactly as the data start-up takes an
// adapter over (under DHCP no address texts, with automatic DNS no DNS texts). Putting it
// back is applying that profile, with the same command lines and worker as any apply.
struct RestorePoint {
    IpProfile settings;  // no name, not in the list
    std::string connectionName;
    // The main window's side: the profile in use before (nullptr without one) and the name
    // applied last, which a put-back brings back with the configuration.
    const IpProfile* marked = nullptr;
    std::string lastAppliedName;
};

// The configuration of the adapter `connectionName` in `inventory` (read afresh by the
// caller just before). None when the inventory has no such adapter.
std::optional<RestorePoint> takeRestorePoint(const AdapterInventory& inventory,
                                             const std::string& connectionName);

// The command lines that bring the restore point's configuration back.
ApplyPlan restorePlan(const RestorePoint& point);

// After a put-back failed: the previous configuration goes into the list as the profile
// "복원[n]" (lowest free n), so that nothing is lost; the caller saves the list. Returns
// the profile as listed.
IpProfile& keepAsRestoreProfile(ProfileList& list, const RestorePoint& point);

}  // namespace quorrel
