// The safety net of the main frame's apply: the checkable menu entry and what follows a
// successful apply while it is on. The decisions are the ApplyTrial's and the frame
// state's; this file runs the dialogs.

#include <QAction>

#include "app/ui/CMainFrame.h"
#include "app/ui/FrameApplyServices.h"
#include "apply/ui/CApplyCheckDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "base/CommandIds.h"
#include "base/ui/Prompter.h"
#include "listview/ui/CTessupView.h"
#include "profiles/Settings.h"

namespace quorrel {

void CMainFrame::installSafetyNet() {
    Settings settings(registry(), traceLine);
    applyRun_.checkAfterApply = settings.readCheckAfterApply();
    if (QAction* entry = menuAction(ID_CHECK_AFTER_APPLY)) {
        entry->setCheckable(true);
        entry->setChecked(applyRun_.checkAfterApply);
    }
    handlers_[ID_CHECK_AFTER_APPLY] = [this] {
        applyRun_.checkAfterApply = !applyRun_.checkAfterApply;
        if (QAction* entry = menuAction(ID_CHECK_AFTER_APPLY)) {
            entry->setChecked(applyRun_.checkAfterApply);
        }
        Settings(registry(), traceLine).storeCheckAfterApply(applyRun_.checkAfterApply);
    };
}

void CMainFrame::runSafetyNet(const RestorePoint& point, const IpProfile& applied,
                              TrialPolicy policy) {
    ConnectionCheckServices checks;
    if (connectionChecks_) {
        checks = connectionChecks_();
    } else {
        checks.probe = platform::makeSystemConnectionProbe();
    }
    bool putBack = false;
    {
        CApplyCheckDlg dialog(applied, point.connectionName, std::move(checks), policy, this);
        prompter().runModal(dialog);
        const std::optional<TrialResult> result = dialog.trial().result();
        // A dialog that ended without a decision has not kept the new settings either.
        putBack = !result || result->decision == TrialDecision::PutBack;
        if (!putBack && result->checksPassed) {
            lookAtNetwork(applied.name, NetworkMemory::Moment::Applied);
        }
    }
    if (!putBack) {
        return;
    }

    std::optional<ApplyPlan> plan = applyRun_.beginPutBack(point);
    if (!plan) {
        return;
    }
    std::optional<ApplyOutcome> outcome;
    {
        CApplyProgressDlg progress(std::move(*plan), frameApplyServices(prompter()), this);
        prompter().runModal(progress);
        outcome = progress.outcome();
    }
    applyRun_.finishPutBack(point, outcome == ApplyOutcome::Succeeded);
    if (view_ != nullptr) {
        view_->RefreshList(store_.profileList);
    } else {
        UpdateTitle();
    }
}

}  // namespace quorrel
