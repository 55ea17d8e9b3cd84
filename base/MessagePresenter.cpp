#include "base/MessagePresenter.h"

#include "resources/AppTexts.h"

namespace quorrel {

void MessageCloser::attach(std::function<void()> closeBox) {
    closeBox_ = std::move(closeBox);
    if (closed_ && closeBox_) {
        closeBox_();
    }
}

void MessageCloser::close() {
    closed_ = true;
    if (closeBox_) {
        // Taken out first: closing the box may end the presenter's wait, which detaches.
        const std::function<void()> closeBox = std::move(closeBox_);
        closeBox_ = nullptr;
        closeBox();
    }
}

Message standardMessage(std::string text) {
    return Message{std::move(text), texts::kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok};
}

}  // namespace quorrel
