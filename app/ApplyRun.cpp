#include "app/ApplyRun.h"

#include "app/SelectedProfile.h"
#include "apply/AdapterNameRule.h"
#include "listview/ProfileRows.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"

namespace quorrel {

namespace {

Message okMessage(const char* text, const char* caption, MessageIcon icon) {
    return Message{text, caption, icon, MessageButtons::Ok};
}

}  // namespace

ApplyRun::ApplyRun(ProfileStore& store, ChosenAdapter& adapter, MessagePresenter& messages,
                   DebugWriter trace)
    : store_(store), adapter_(adapter), messages_(messages), trace_(std::move(trace)) {}

std::optional<ConfirmationTexts> ApplyRun::confirmApply(IpProfile* chosen, const ListRows* rows) {
    if (!adapter_.currentSettings) {
        messages_.show(standardMessage(texts::kChooseAdapterFirst));
        return std::nullopt;
    }
    // netsh would be handed another name than the adapter's: say so before asking anything.
    if (auto refusal = unusableAdapterNameMessage(adapter_.currentSettings->connectionName)) {
        messages_.show(*refusal);
        return std::nullopt;
    }
    // What the confirmation shows: the row as displayed, or the chosen profile's own values.
    std::string ipColumn;
    std::string maskColumn;
    std::string gatewayColumn;
    if (chosen != nullptr) {
        const ProfileRow row = makeProfileRow(*chosen);
        ipColumn = row.cells[kIpAddressColumn];
        maskColumn = row.cells[kSubnetMaskColumn];
        gatewayColumn = row.cells[kGatewayColumn];
    } else if (rows != nullptr) {
        const int row = rows->firstSelectedRow();
        if (row >= 0) {
            ipColumn = rows->cellText(row, kIpAddressColumn);
            maskColumn = rows->cellText(row, kSubnetMaskColumn);
            gatewayColumn = rows->cellText(row, kGatewayColumn);
        }
    }
    return makeConfirmationTexts(adapter_.currentSettings->connectionName, ipColumn, maskColumn,
                                 gatewayColumn);
}

std::optional<ConfirmationTexts> ApplyRun::confirmApply(
    const std::optional<std::string>& profileName, const ListRows* rows) {
    if (!profileName) {
        return confirmApply(static_cast<IpProfile*>(nullptr), rows);
    }
    if (!adapter_.currentSettings) {
        messages_.show(standardMessage(texts::kChooseAdapterFirst));
        return std::nullopt;
    }
    IpProfile* named = store_.profileList.findByName(*profileName);
    if (named == nullptr) {
        return std::nullopt;
    }
    return confirmApply(named, rows);
}

std::optional<ApplyPlan> ApplyRun::beginApply(IpProfile* chosen, const ListRows* rows) {
    IpProfile* profile = chosen != nullptr ? chosen : selectedProfile(store_.profileList, rows);
    if (profile == nullptr || applyBusy == 1 || !adapter_.currentSettings) {
        return std::nullopt;
    }
    applyBusy = 1;
    applying_ = profile;
    applyingName_ = profile->name;
    return buildApplyPlan(*profile, adapter_.currentSettings->connectionName);
}

std::optional<ApplyPlan> ApplyRun::beginApply(const std::optional<std::string>& profileName,
                                              const ListRows* rows) {
    if (!profileName) {
        return beginApply(static_cast<IpProfile*>(nullptr), rows);
    }
    IpProfile* named = store_.profileList.findByName(*profileName);
    if (named == nullptr) {
        return std::nullopt;
    }
    return beginApply(named, rows);
}

void ApplyRun::finishApply(bool succeeded, const std::string& details) {
    // A line that failed, a stop and the time limit all leave the marks and the adapter
    // picture as they were.
    if (succeeded) {
        lastAppliedName = applyingName_;
        messages_.show(
            okMessage(texts::kApplyDoneText, texts::kApplyDoneCaption, MessageIcon::Information));
        // The record applied, not the first of its name.
        store_.profileList.clearCurrentMarks();
        if (applying_ != nullptr) {
            applying_->isCurrent = 1;
        }
        if (adapter_.inventory() != nullptr) {
            adapter_.readAgain();
        }
        if (trace_) {
            trace_(lastAppliedName);
        }
    } else {
        Message failed =
            okMessage(texts::kApplyFailedText, texts::kApplyFailedCaption, MessageIcon::Stop);
        failed.details = details;
        messages_.show(failed);
    }
    applying_ = nullptr;
    applyBusy = 0;
}

}  // namespace quorrel
