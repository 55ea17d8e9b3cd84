#include "app/RestorePoint.h"

#include "app/ProfileMatching.h"
#include "app/ProfileNames.h"

namespace quorrel {

std::optional<RestorePoint> takeRestorePoint(const AdapterInventory& inventory,
                                             const std::string& connectionName) {
    for (const AdapterInfo& record : inventory.records()) {
        if (record.connectionName == connectionName) {
            RestorePoint point;
            point.settings = AdoptedProfile(record);
            point.connectionName = connectionName;
            return point;
        }
    }
    return std::nullopt;
}

ApplyPlan restorePlan(const RestorePoint& point) {
    return buildApplyPlan(point.settings, point.connectionName);
}

IpProfile& keepAsRestoreProfile(ProfileList& list, const RestorePoint& point) {
    IpProfile kept = point.settings;
    kept.isCurrent = 0;
    kept.name = NextFreeRestoreName(list);
    return list.append(kept);
}

}  // namespace quorrel
