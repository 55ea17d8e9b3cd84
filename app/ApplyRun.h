#pragma once

#include <optional>
#include <string>

#include "app/ChosenAdapter.h"
#include "app/ProfileStore.h"
#include "app/RestorePoint.h"
#include "apply/ApplyPlan.h"
#include "base/ListRows.h"
#include "base/MessagePresenter.h"
#include "profiles/IpProfile.h"

namespace quorrel {

// The decisions of an apply around the frame's dialogs: what to confirm, the command lines
// with the apply marked as running (the busy flag), how it ends, and the safety net's
// restore point and put-back (ApplyPutBack.cpp). It works on the profiles of `store` and
// the picture of `adapter`; the owner keeps them alive.
class ApplyRun {
public:
    ApplyRun(ProfileStore& store, ChosenAdapter& adapter, MessagePresenter& messages,
             DebugWriter trace);

    // 1 from a begin to its finish.
    int applyBusy = 0;
    std::string lastAppliedName;
    // The safety net of an apply, "적용 후 연결 확인" in the tools menu.
    bool checkAfterApply = false;

    // An apply, in three steps. `chosen` is the listed record to apply (the edit command
    // re-applies the record it edited, whatever other profile shares its name);
    // `profileName` names the profile, the first of that name. Without either, the first
    // selected row's profile is applied.
    // First the texts to confirm: the row as shown, or the chosen profile's own values.
    // None when there is nothing to confirm; without an adapter the user has been asked to
    // choose one, and an adapter name that the command lines cannot carry is refused with
    // a message before anything is asked.
    std::optional<ConfirmationTexts> confirmApply(IpProfile* chosen, const ListRows* rows);
    std::optional<ConfirmationTexts> confirmApply(const std::optional<std::string>& profileName,
                                                  const ListRows* rows);
    // After the confirmation, the command lines, with the apply marked as running. None
    // when the profile has gone, an apply is running or there is no adapter.
    std::optional<ApplyPlan> beginApply(IpProfile* chosen, const ListRows* rows);
    std::optional<ApplyPlan> beginApply(const std::optional<std::string>& profileName,
                                        const ListRows* rows);
    // Then the end of the command lines. Success (every line ran and exited with 0) marks
    // the record applied, not the first of its name, and reads the adapters again; a
    // failure changes nothing. The user is told either way; the failure message carries
    // `details` (why the lines failed, in their own words) as its details.
    void finishApply(bool succeeded, const std::string& details = {});

    // Before an apply while the safety net is on: reads the adapters afresh and keeps the
    // chosen adapter's present configuration, the profile in use and the name applied last.
    // None without an adapter or while an apply runs.
    std::optional<RestorePoint> restorePointBeforeApply();
    // The command lines that put the restore point back, with the apply marked as running;
    // none while another apply runs.
    std::optional<ApplyPlan> beginPutBack(const RestorePoint& point);
    // The end of those lines. Success: the adapters are read again, the mark and the name
    // applied last are those of before, and the user is told. Failure: the previous
    // configuration is kept as the profile "복원[n]" and saved at once, the user is told,
    // and the adapters are read again and the mark follows what they show.
    void finishPutBack(const RestorePoint& point, bool succeeded);

private:
    ProfileStore& store_;
    ChosenAdapter& adapter_;
    MessagePresenter& messages_;
    DebugWriter trace_;
    // The record being applied between beginApply and finishApply; nothing can remove it
    // while the frame's modal dialogs run.
    IpProfile* applying_ = nullptr;
    std::string applyingName_;
};

}  // namespace quorrel
