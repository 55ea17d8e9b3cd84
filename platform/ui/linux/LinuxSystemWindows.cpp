#include "platform/DebugTrace.h"
#include "platform/ui/SystemWindows.h"
#include "platform/ui/linux/ChmHelpViewer.h"
#include "platform/ui/linux/InstanceChannel.h"

namespace quorrel::platform {

std::unique_ptr<HelpViewer> makeSystemHelpViewer() {
    return std::make_unique<ChmHelpViewer>();
}

std::unique_ptr<WindowLookup> makeSystemWindowLookup() {
    return std::make_unique<LocalWindowLookup>(instanceSocketPath());
}

std::unique_ptr<QObject> answerWindowLookups() {
    auto server = std::make_unique<InstanceServer>(instanceSocketPath());
    if (!server->listen()) {
        DebugTrace("cannot listen for further starts");
    }
    return server;
}

bool systemHasKoreanWindowsFaces() {
    return false;
}

}  // namespace quorrel::platform
