// The main frame's help and web-link commands.
#include <QCoreApplication>

#include "app/HelpBook.h"
#include "app/ui/CMainFrame.h"
#include "platform/PlatformPaths.h"
#include "platform/ui/SystemWindows.h"
#include "resources/AboutTexts.h"

namespace quorrel {

void CMainFrame::OnShowHelp() {
    // The book comes with the program; the help command reads it from the install folder.
    const std::string programFolder =
        platform::withTrailingSeparator(QCoreApplication::applicationDirPath().toStdString());
    placeHelpBook(services_.files, platform::bundledFilesFolder(programFolder),
                  store_.installFolder);

    if (helpViewer_ == nullptr) {
        ownHelpViewer_ = platform::makeSystemHelpViewer();
        helpViewer_ = ownHelpViewer_.get();
    }
    // A missing book or page is the viewer's to report.
    helpViewer_->displayTopic(helpTopicLocation(store_.installFolder));
}

void CMainFrame::OnCheckUpdate() {
    OpenUrl(texts::kProductHomeUrl);
}

}  // namespace quorrel
