// The decisions of the main frame's profile commands.
#include "app/ProfileCommands.h"

#include "app/SelectedProfile.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

Message okMessage(const char* text, const char* caption, MessageIcon icon) {
    return Message{text, caption, icon, MessageButtons::Ok};
}

}  // namespace

ProfileCommands::ProfileCommands(ProfileStore& store, std::string& lastAppliedName,
                                 MessagePresenter& messages)
    : store_(store), lastAppliedName_(lastAppliedName), messages_(messages) {}

void ProfileCommands::addProfile(const IpProfile& profile) {
    store_.profilesModified = 1;
    store_.profileList.append(profile);
}

bool ProfileCommands::copySelected(const ListRows* rows) {
    const IpProfile* source = selectedProfile(store_.profileList, rows);
    if (source == nullptr) {
        return false;
    }
    store_.profileList.append(makeProfileCopy(*source, store_.profileList));
    return true;
}

EditOutcome ProfileCommands::takeEdit(IpProfile& listed, const IpProfile& edited) {
    const EditOutcome outcome = decideEdit(listed, edited, listed.name == lastAppliedName_);
    if (!outcome.changed) {
        return outcome;
    }
    store_.profilesModified = 1;
    const std::string nameBefore = listed.name;
    takeOverEdit(listed, edited);
    store_.carryNetwork(nameBefore, listed.name);
    if (outcome.reapply || outcome.renameOnly) {
        lastAppliedName_ = listed.name;
    }
    return outcome;
}

bool ProfileCommands::deleteSelected(const ListRows* rows) {
    const IpProfile* found = selectedProfile(store_.profileList, rows);
    if (found == nullptr) {
        return false;
    }
    if (found->isCurrent == 1) {
        messages_.show(
            okMessage(texts::kDeleteInUseText, texts::kDeleteInUseCaption, MessageIcon::Stop));
        return false;
    }
    const MessageResult answer =
        messages_.show(Message{texts::kDeleteQuestionText, texts::kDeleteQuestionCaption,
                               MessageIcon::Question, MessageButtons::OkCancel});
    if (answer != MessageResult::Ok) {
        return false;
    }
    // This very record: of two equal profiles the one selected goes.
    const std::string removedName = found->name;
    store_.profileList.remove(found);
    store_.carryNetwork(removedName, {});
    store_.profilesModified = 1;
    store_.saveIfModified();
    return true;
}

void ProfileCommands::printNotReady() {
    messages_.show(okMessage(texts::kPrintNotReadyText, texts::kPrintNotReadyCaption,
                             MessageIcon::Information));
}

}  // namespace quorrel
