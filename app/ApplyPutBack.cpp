// The safety net around an apply: what it keeps before, and how a put-back of the
// previous configuration ends.
#include "app/ApplyRun.h"
#include "app/ProfileMatching.h"
#include "base/TextFormat.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

std::optional<RestorePoint> ApplyRun::restorePointBeforeApply() {
    if (applyBusy == 1 || !adapter_.currentSettings || adapter_.inventory() == nullptr) {
        return std::nullopt;
    }
    // The configuration in force now, not as it was at the last reading: something else
    // may have changed the adapter meanwhile.
    const std::string connectionName = adapter_.currentSettings->connectionName;
    adapter_.readAgain();
    std::optional<RestorePoint> point = takeRestorePoint(*adapter_.inventory(), connectionName);
    if (point) {
        point->marked = store_.markedProfile();
        point->lastAppliedName = lastAppliedName;
    }
    return point;
}

std::optional<ApplyPlan> ApplyRun::beginPutBack(const RestorePoint& point) {
    if (applyBusy == 1) {
        return std::nullopt;
    }
    applyBusy = 1;
    return restorePlan(point);
}

void ApplyRun::finishPutBack(const RestorePoint& point, bool succeeded) {
    if (succeeded) {
        messages_.show(Message{texts::kPutBackDoneText, texts::kPutBackDoneCaption,
                               MessageIcon::Information, MessageButtons::Ok});
        lastAppliedName = point.lastAppliedName;
    } else {
        // Nothing is lost: the configuration that could not be put back stays at hand.
        const std::string kept = keepAsRestoreProfile(store_.profileList, point).name;
        store_.profilesModified = 1;
        store_.saveProfiles();
        messages_.show(Message{fillFormat(texts::kPutBackFailedFormat, {kept}),
                               texts::kPutBackFailedCaption, MessageIcon::Stop,
                               MessageButtons::Ok});
    }
    if (adapter_.inventory() != nullptr) {
        adapter_.readAgain();
    }
    // The mark follows what is in force: after a put-back the profile in use before, while
    // it is still listed; otherwise the profile that describes what the adapter shows.
    store_.profileList.clearCurrentMarks();
    bool remarked = false;
    if (succeeded && point.marked != nullptr) {
        for (IpProfile& profile : store_.profileList) {
            if (&profile == point.marked) {
                profile.isCurrent = 1;
                remarked = true;
                break;
            }
        }
    }
    if (!remarked) {
        MarkCurrentProfile(store_.profileList, adapter_.currentSettings);
    }
    applyBusy = 0;
}

}  // namespace quorrel
