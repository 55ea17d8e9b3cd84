// The apply operation of the main frame: confirm, run the plan's command lines behind the
// progress dialog, report, and on success mark the applied profile and read the adapters
// again. The decisions are the apply run's (app/ApplyRun.h); this file runs the dialogs.

#include <QApplication>
#include <QMetaObject>

#include "app/ui/CMainFrame.h"
#include "app/ui/FrameApplyServices.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "apply/ui/SystemCommandServices.h"
#include "base/ui/Prompter.h"
#include "listview/ui/CTessupView.h"

namespace quorrel {

// The worker's message boxes go through the frame's prompter on the user-interface
// thread. The prompter outlives every worker that may still show a box: a worker that is
// given up has its boxes closed first.
CommandThreadServices frameApplyServices(Prompter& prompter) {
    std::shared_ptr<MessagePresenter> presenter(&prompter, [](MessagePresenter*) {});
    return systemCommandServices(std::move(presenter), [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    });
}

namespace {

// How an apply goes: confirmed in the dialog first (unless the user has said 예 to the
// recognition's offer, or 자동 전환 stands for it), and checked afterwards with `trial`
// (none: as "적용 후 연결 확인" says, with the window's trial).
struct ApplyWay {
    bool confirm = true;
    std::optional<TrialPolicy> trial;
};

// The apply of one target: a profile name (the first profile of it), a listed record, or
// none for the profile of the first selected row. ApplyRun decides for each kind alike.
// None when nothing ran, else whether every command line succeeded.
template <typename Target>
std::optional<bool> runApply(CMainFrame& frame, const Target& target, const ApplyWay& way = {}) {
    ApplyRun& apply = frame.applyRun();
    const std::optional<ConfirmationTexts> confirmation =
        apply.confirmApply(target, frame.listRows());
    if (!confirmation) {
        return std::nullopt;
    }
    if (way.confirm) {
        CApplyConfirmDlg confirm(*confirmation, &frame);
        if (frame.prompter().runModal(confirm) != QDialog::Accepted) {
            return std::nullopt;
        }
    }

    // What to go back to, taken just before the change.
    const std::optional<TrialPolicy> trial = way.trial               ? way.trial
                                             : apply.checkAfterApply ? std::optional(kWindowTrial)
                                                                     : std::nullopt;
    std::optional<RestorePoint> restorePoint;
    if (trial) {
        restorePoint = apply.restorePointBeforeApply();
    }
    std::optional<ApplyPlan> plan = apply.beginApply(target, frame.listRows());
    if (!plan) {
        return std::nullopt;
    }
    std::optional<ApplyOutcome> outcome;
    std::string details;
    {
        CApplyProgressDlg progress(std::move(*plan), frameApplyServices(frame.prompter()), &frame);
        frame.prompter().runModal(progress);
        outcome = progress.outcome();
        details = progress.failureDetails();
    }
    // Success means every line ran and exited with 0.
    apply.finishApply(outcome == ApplyOutcome::Succeeded, details);

    // The refill ends by rewriting the title.
    if (CTessupView* list = frame.view()) {
        list->RefreshList(frame.profiles().profileList);
    } else {
        frame.UpdateTitle();
    }
    const IpProfile* applied =
        outcome == ApplyOutcome::Succeeded ? frame.profiles().markedProfile() : nullptr;
    if (applied == nullptr) {
        return outcome == ApplyOutcome::Succeeded;
    }
    if (restorePoint) {
        // The network is remembered there once the checks have passed.
        frame.runSafetyNet(*restorePoint, IpProfile(*applied), *trial);
    } else {
        frame.lookAtNetwork(applied->name, NetworkMemory::Moment::Applied);
    }
    return true;
}

}  // namespace

void CMainFrame::OnProfileApply(const std::optional<std::string>& profileName) {
    runApply(*this, profileName);
}

void CMainFrame::applyProfile(IpProfile* profile) {
    runApply(*this, profile);
}

std::optional<bool> CMainFrame::applyProfileWithOutcome(IpProfile* profile) {
    return runApply(*this, profile);
}

void CMainFrame::applyRecognised(const std::string& profileName, bool automatic) {
    ApplyWay way{false, std::nullopt};
    if (automatic) {
        // No countdown: settings that pass stay, a failed check brings the previous back.
        way.trial = TrialPolicy{std::chrono::seconds(0), TrialPolicy::OnFailure::PutBack};
    }
    runApply(*this, std::optional<std::string>(profileName), way);
}

}  // namespace quorrel
