// uninstall-cleanup: ends an uninstall of Tessup by removing its installation folder, when
// the uninstaller has left it empty. Arguments are ignored; the exit code is always 0.

#include <exception>

#include "cleanup/TessupInstall.h"
#include "resources/CleanupTexts.h"

int main() {
    using namespace quorrel;
    cleanup::keepRunningWhenOutputCloses();
    try {
        cleanup::printToConsole(texts::kCleanupMessage);
        const auto registry = platform::makeSystemRegistryStore();
        cleanup::removeEmptyFolder(cleanup::tessupFolderToRemove(*registry));
    } catch (const std::exception&) {
        // Nothing is reported: the uninstall has finished either way.
    }
    return 0;
}
