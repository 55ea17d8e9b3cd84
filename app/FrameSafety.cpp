// The main frame's side of the safety net around an apply: what it keeps before, and how a
// put-back of the previous configuration ends.
#include "app/FrameState.h"
#include "app/ProfileMatching.h"
#include "base/TextFormat.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

std::optional<RestorePoint> FrameState::restorePointBeforeApply() {
    if (applyBusy == 1 || !currentSettings || inventory_ == nullptr) {
        return std::nullopt;
    }
    // The configuration in force now, not as it was at the last reading: something else
    // may have changed the adapter meanwhile.
    const std::string connectionName = currentSettings->connectionName;
    readAdaptersAgain();
    std::optional<RestorePoint> point = takeRestorePoint(*inventory_, connectionName);
    if (point) {
        point->marked = markedProfile();
        point->lastAppliedName = lastAppliedName;
    }
    return point;
}

const IpProfile* FrameState::markedProfile() const {
    for (const IpProfile& profile : profileList) {
        if (profile.isCurrent == 1) {
            return &profile;
        }
    }
    return nullptr;
}

std::optional<ApplyPlan> FrameState::beginPutBack(const RestorePoint& point) {
    if (applyBusy == 1) {
        return std::nullopt;
    }
    applyBusy = 1;
    return restorePlan(point);
}

void FrameState::finishPutBack(const RestorePoint& point, bool succeeded) {
    if (succeeded) {
        services_.messages.show(Message{texts::kPutBackDoneText, texts::kPutBackDoneCaption,
                                        MessageIcon::Information, MessageButtons::Ok});
        lastAppliedName = point.lastAppliedName;
    } else {
        // Nothing is lost: the configuration that could not be put back stays at hand.
        const std::string kept = keepAsRestoreProfile(profileList, point).name;
        profilesModified = 1;
        saveProfiles();
        services_.messages.show(Message{fillFormat(texts::kPutBackFailedFormat, {kept}),
                                        texts::kPutBackFailedCaption, MessageIcon::Stop,
                                        MessageButtons::Ok});
    }
    if (inventory_ != nullptr) {
        readAdaptersAgain();
    }
    // The mark follows what is in force: after a put-back the profile in use before, while
    // it is still listed; otherwise the profile that describes what the adapter shows.
    profileList.clearCurrentMarks();
    bool remarked = false;
    if (succeeded && point.marked != nullptr) {
        for (IpProfile& profile : profileList) {
            if (&profile == point.marked) {
                profile.isCurrent = 1;
                remarked = true;
                break;
            }
        }
    }
    if (!remarked) {
        MarkCurrentProfile(profileList, currentSettings);
    }
    applyBusy = 0;
}

}  // namespace quorrel
