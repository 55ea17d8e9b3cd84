// The decisions of the main frame's apply and profile commands.
#include "app/FrameState.h"
#include "app/ProfileCommandRules.h"
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

std::optional<ConfirmationTexts> FrameState::confirmApply(IpProfile* chosen, const ListRows* rows) {
    if (!currentSettings) {
        services_.messages.show(standardMessage(texts::kChooseAdapterFirst));
        return std::nullopt;
    }
    // netsh would be handed another name than the adapter's: say so before asking anything.
    if (auto refusal = unusableAdapterNameMessage(currentSettings->connectionName)) {
        services_.messages.show(*refusal);
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
    ConfirmationTexts confirmation =
        makeConfirmationTexts(currentSettings->connectionName, ipColumn, maskColumn, gatewayColumn);
    confirmConnectionName = confirmation.adapterName;
    confirmIpAddress = confirmation.ipText;
    confirmSubnetMask = confirmation.maskText;
    confirmGateway = confirmation.gatewayText;
    return confirmation;
}

std::optional<ConfirmationTexts> FrameState::confirmApply(
    const std::optional<std::string>& profileName, const ListRows* rows) {
    if (!profileName) {
        return confirmApply(static_cast<IpProfile*>(nullptr), rows);
    }
    if (!currentSettings) {
        services_.messages.show(standardMessage(texts::kChooseAdapterFirst));
        return std::nullopt;
    }
    IpProfile* named = profileList.findByName(*profileName);
    if (named == nullptr) {
        return std::nullopt;
    }
    return confirmApply(named, rows);
}

std::optional<ApplyPlan> FrameState::beginApply(IpProfile* chosen, const ListRows* rows) {
    IpProfile* profile = chosen != nullptr ? chosen : selectedProfile(rows);
    if (profile == nullptr || applyBusy == 1 || !currentSettings) {
        return std::nullopt;
    }
    applyBusy = 1;
    applying_ = profile;
    applyingName_ = profile->name;
    return buildApplyPlan(*profile, currentSettings->connectionName);
}

std::optional<ApplyPlan> FrameState::beginApply(const std::optional<std::string>& profileName,
                                                const ListRows* rows) {
    if (!profileName) {
        return beginApply(static_cast<IpProfile*>(nullptr), rows);
    }
    IpProfile* named = profileList.findByName(*profileName);
    if (named == nullptr) {
        return std::nullopt;
    }
    return beginApply(named, rows);
}

void FrameState::finishApply(bool succeeded, const std::string& details) {
    // A line that failed, a stop and the time limit all leave the marks and the adapter
    // picture as they were.
    if (succeeded) {
        lastAppliedName = applyingName_;
        services_.messages.show(
            okMessage(texts::kApplyDoneText, texts::kApplyDoneCaption, MessageIcon::Information));
        // The record applied, not the first of its name.
        profileList.clearCurrentMarks();
        if (applying_ != nullptr) {
            applying_->isCurrent = 1;
        }
        if (inventory_ != nullptr) {
            readAdaptersAgain();
        }
        if (services_.trace) {
            services_.trace(lastAppliedName);
        }
    } else {
        Message failed =
            okMessage(texts::kApplyFailedText, texts::kApplyFailedCaption, MessageIcon::Stop);
        failed.details = details;
        services_.messages.show(failed);
    }
    applying_ = nullptr;
    applyBusy = 0;
}

void FrameState::addProfile(const IpProfile& profile) {
    profilesModified = 1;
    profileList.append(profile);
}

bool FrameState::copySelected(const ListRows* rows) {
    const IpProfile* source = selectedProfile(rows);
    if (source == nullptr) {
        return false;
    }
    profileList.append(makeProfileCopy(*source, profileList));
    return true;
}

EditOutcome FrameState::takeEdit(IpProfile& listed, const IpProfile& edited) {
    const EditOutcome outcome = decideEdit(listed, edited, listed.name == lastAppliedName);
    if (!outcome.changed) {
        return outcome;
    }
    profilesModified = 1;
    const std::string nameBefore = listed.name;
    takeOverEdit(listed, edited);
    carryNetwork(nameBefore, listed.name);
    if (outcome.reapply || outcome.renameOnly) {
        lastAppliedName = listed.name;
    }
    return outcome;
}

bool FrameState::deleteSelected(const ListRows* rows) {
    const IpProfile* found = selectedProfile(rows);
    if (found == nullptr) {
        return false;
    }
    if (found->isCurrent == 1) {
        services_.messages.show(
            okMessage(texts::kDeleteInUseText, texts::kDeleteInUseCaption, MessageIcon::Stop));
        return false;
    }
    const MessageResult answer =
        services_.messages.show(Message{texts::kDeleteQuestionText, texts::kDeleteQuestionCaption,
                                        MessageIcon::Question, MessageButtons::OkCancel});
    if (answer != MessageResult::Ok) {
        return false;
    }
    // This very record: of two equal profiles the one selected goes.
    const std::string removedName = found->name;
    profileList.remove(found);
    carryNetwork(removedName, {});
    profilesModified = 1;
    saveIfModified();
    return true;
}

void FrameState::printNotReady() {
    services_.messages.show(okMessage(texts::kPrintNotReadyText, texts::kPrintNotReadyCaption,
                                      MessageIcon::Information));
}

}  // namespace quorrel
