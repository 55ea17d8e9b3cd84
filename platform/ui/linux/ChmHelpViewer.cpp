#include "platform/ui/linux/ChmHelpViewer.h"

#include "app/HelpBook.h"
#include "platform/ui/linux/ChmHelpWindow.h"

namespace quorrel {

ChmHelpViewer::ChmHelpViewer() = default;

ChmHelpViewer::~ChmHelpViewer() = default;

bool ChmHelpViewer::displayTopic(const std::string& location) {
    const HelpLocation where = splitHelpLocation(location);
    if (window_ == nullptr) {
        window_ = std::make_unique<ChmHelpWindow>();
    }
    const bool shown = window_->showTopic(where.book, where.topic);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return shown;
}

}  // namespace quorrel
