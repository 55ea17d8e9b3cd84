// The apply operation of the main frame: confirm, run the plan's command lines behind the
// progress dialog, report, and on success mark the applied profile and read the adapters
// again.

#include <QApplication>
#include <QMetaObject>

#include "adapters/AdapterInventory.h"
#include "adapters/CAdapterSelectDlg.h"
#include "app/CMainFrame.h"
#include "app/ListRows.h"
#include "app/ProfileMatching.h"
#include "app/Prompter.h"
#include "apply/AdapterNameRule.h"
#include "apply/ApplyPlan.h"
#include "apply/CApplyConfirmDlg.h"
#include "apply/CApplyProgressDlg.h"
#include "apply/SystemCommandServices.h"
#include "listview/CTessupView.h"
#include "listview/ProfileRows.h"
#include "platform/DebugTrace.h"
#include "resources/ApplyTexts.h"

namespace quorrel {

namespace {

// The worker's message boxes go through the frame's prompter on the user-interface
// thread. The prompter outlives every worker that may still show a box: a worker that is
// given up has its boxes closed first.
CommandThreadServices applyServices(Prompter& prompter) {
    std::shared_ptr<MessagePresenter> presenter(&prompter, [](MessagePresenter*) {});
    return systemCommandServices(std::move(presenter), [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    });
}

Message frameMessage(const char* text, const char* caption, MessageIcon icon) {
    Message message;
    message.text = text;
    message.caption = caption;
    message.icon = icon;
    message.buttons = MessageButtons::Ok;
    return message;
}

}  // namespace

void CMainFrame::OnProfileApply(const std::optional<std::string>& profileName) {
    if (!profileName) {
        applyProfile(nullptr);
        return;
    }
    if (!currentSettings) {
        prompter().show(standardMessage(texts::kChooseAdapterFirst));
        return;
    }
    if (IpProfile* named = profileList.findByName(*profileName)) {
        applyProfile(named);
    }
}

void CMainFrame::applyProfile(IpProfile* chosen) {
    if (!currentSettings) {
        prompter().show(standardMessage(texts::kChooseAdapterFirst));
        return;
    }
    // netsh would be handed another name than the adapter's: say so before asking anything.
    if (auto refusal = unusableAdapterNameMessage(currentSettings->connectionName)) {
        prompter().show(*refusal);
        return;
    }

    // What the confirmation shows: the row as displayed, or the chosen profile's own values.
    std::string ipColumn;
    std::string maskColumn;
    std::string gatewayColumn;
    if (chosen != nullptr) {
        const ProfileRow row = makeProfileRow(*chosen);
        ipColumn = row.cells[1];
        maskColumn = row.cells[2];
        gatewayColumn = row.cells[3];
    } else if (ListRows* rows = listRows()) {
        const int row = rows->firstSelectedRow();
        if (row >= 0) {
            ipColumn = rows->cellText(row, 1).toStdString();
            maskColumn = rows->cellText(row, 2).toStdString();
            gatewayColumn = rows->cellText(row, 3).toStdString();
        }
    }
    const ConfirmationTexts confirmation =
        makeConfirmationTexts(currentSettings->connectionName, ipColumn, maskColumn, gatewayColumn);
    confirmConnectionName = confirmation.adapterName;
    confirmIpAddress = confirmation.ipText;
    confirmSubnetMask = confirmation.maskText;
    confirmGateway = confirmation.gatewayText;

    {
        CApplyConfirmDlg confirm(confirmation, this);
        if (prompter().runModal(confirm) != QDialog::Accepted) {
            return;
        }
    }

    IpProfile* profile = chosen != nullptr ? chosen : GetSelectedProfile();
    if (profile == nullptr || applyBusy == 1 || !currentSettings) {
        return;
    }
    applyBusy = 1;
    const std::string appliedName = profile->name;

    std::optional<ApplyOutcome> outcome;
    {
        CApplyProgressDlg progress(buildApplyPlan(*profile, currentSettings->connectionName),
                                   applyServices(prompter()), this);
        prompter().runModal(progress);
        outcome = progress.outcome();
    }

    // Success means every line ran and exited with 0. A line that failed, a stop and the
    // time limit all leave the marks and the adapter picture as they were.
    if (outcome == ApplyOutcome::Succeeded) {
        lastAppliedName = appliedName;
        prompter().show(frameMessage(texts::kApplyDoneText, texts::kApplyDoneCaption,
                                     MessageIcon::Information));
        // The record applied, not the first of its name: nothing can remove it while the
        // modal dialogs run.
        profileList.clearCurrentMarks();
        profile->isCurrent = 1;
        if (adapterSelectDlg != nullptr) {
            AdapterInventory& inventory = adapterSelectDlg->inventory();
            inventory.clear();
            adapterList = nullptr;
            currentSettings.reset();
            inventory.enumerate();
            inventory.markSelected();
            adapterList = inventory.empty() ? nullptr : &inventory.records().front();
            currentSettings = BuildCurrentSettings(inventory);
        }
        DebugTrace("%s", lastAppliedName.c_str());
    } else {
        prompter().show(
            frameMessage(texts::kApplyFailedText, texts::kApplyFailedCaption, MessageIcon::Stop));
    }

    // The refill ends by rewriting the title.
    if (CTessupView* list = view()) {
        list->RefreshList(profileList);
    } else {
        UpdateTitle();
    }
    applyBusy = 0;
}

}  // namespace quorrel
