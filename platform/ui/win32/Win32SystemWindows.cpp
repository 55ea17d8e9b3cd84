#include "platform/ui/SystemWindows.h"
#include "platform/win32/Win32HelpViewer.h"
#include "platform/win32/Win32WindowLookup.h"

namespace quorrel::platform {

std::unique_ptr<HelpViewer> makeSystemHelpViewer() {
    return std::make_unique<Win32HelpViewer>();
}

std::unique_ptr<WindowLookup> makeSystemWindowLookup() {
    return std::make_unique<Win32WindowLookup>();
}

std::unique_ptr<QObject> answerWindowLookups() {
    return nullptr;
}

bool systemHasKoreanWindowsFaces() {
    return true;
}

}  // namespace quorrel::platform
