#include "base/MessagePresenter.h"

#include "resources/AppTexts.h"

namespace quorrel {

Message standardMessage(std::string text) {
    return Message{std::move(text), texts::kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok};
}

}  // namespace quorrel
