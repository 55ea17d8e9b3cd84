#include "app/ProfileSaving.h"

#include "base/TextFormat.h"
#include "resources/AppTexts.h"

namespace quorrel {

Message saveFailedMessage(const std::string& path, const std::string& reason) {
    return standardMessage(fillFormat(texts::kSaveFailedFormat, {path, reason}));
}

Message saveFailedOnCloseMessage(const std::string& path, const std::string& reason) {
    Message message = saveFailedMessage(path, reason);
    message.text += texts::kSaveFailedOnCloseQuestion;
    message.buttons = MessageButtons::YesNo;
    return message;
}

Message loadFailedMessage(const std::string& path, const std::string& reason) {
    return standardMessage(fillFormat(texts::kLoadFailedFormat, {path, reason}));
}

bool mayCloseAfterSave(bool saved, const std::string& path, const std::string& reason,
                       MessagePresenter& messages) {
    if (saved) {
        return true;
    }
    return messages.show(saveFailedOnCloseMessage(path, reason)) == MessageResult::Yes;
}

}  // namespace quorrel
