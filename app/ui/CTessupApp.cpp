#include "app/ui/CTessupApp.h"

#include <QApplication>

#include "app/DataPrefetch.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProgramFonts.h"
#include "app/ui/QtPrompter.h"
#include "app/ui/QtTranslations.h"
#include "app/ui/UrlOpener.h"
#include "platform/FileStore.h"
#include "platform/MemoryReturn.h"
#include "platform/NetworkSensor.h"
#include "platform/PlatformPaths.h"
#include "platform/RegistryStore.h"
#include "platform/TextCodec.h"
#include "platform/ui/SystemWindows.h"
#include "profiles/Settings.h"

namespace quorrel {

CTessupApp::CTessupApp(AppServices services) : services_(std::move(services)) {
    if (services_.prompter == nullptr) {
        ownPrompter_ = std::make_unique<QtPrompter>();
        services_.prompter = ownPrompter_.get();
    }
    if (services_.lock == nullptr) {
        ownLock_ = platform::makeSystemInstanceLock();
        services_.lock = ownLock_.get();
    }
    if (services_.windows == nullptr) {
        ownWindows_ = platform::makeSystemWindowLookup();
        services_.windows = ownWindows_.get();
    }
    if (services_.probe == nullptr) {
        ownProbe_ = platform::makeSystemAdapterProbe();
        services_.probe = ownProbe_.get();
    }
    if (services_.urlOpener == nullptr) {
        ownUrlOpener_ = std::make_unique<DesktopUrlOpener>();
        services_.urlOpener = ownUrlOpener_.get();
    }
}

CTessupApp::~CTessupApp() {
    // The frame goes before the services it was given.
    if (auto* qtPrompter = dynamic_cast<QtPrompter*>(services_.prompter)) {
        qtPrompter->setParentWindow(nullptr);
    }
    frame_.reset();
    windowAnswers_.reset();
}

bool CTessupApp::InitInstance() {
    // Nothing of the program is read or written before this check.
    verdict_ =
        checkStart(*services_.lock, *services_.windows, *services_.probe, *services_.prompter);
    if (verdict_ != StartVerdict::Run) {
        return false;
    }

    // From now on a second start finds this instance's window.
    if (services_.windows == ownWindows_.get()) {
        windowAnswers_ = platform::answerWindowLookups();
    }

    // The data file and the list of its profiles are the large blocks of this run.
    platform::returnLargeBlocksAtOnce();
    files_ = platform::makeSystemFileStore();
    codec_ = platform::makeCp949Codec();
    startDataPrefetch();

    applyProgramFonts();
    installQtTranslations();

    // Without a given folder the frame takes the one the registry names, or asks for it.
    FrameServices frameServices{*services_.prompter,
                                *services_.urlOpener,
                                *files_,
                                *codec_,
                                services_.installFolder,
                                QSize()};
    frameServices.networkSensor = platform::makeSystemNetworkSensor;
    frameServices.networkWatch = platform::watchSystemNetwork;
    frameServices.dataPrefetch = prefetch_.get();
    frame_ = std::make_unique<CMainFrame>(std::move(frameServices));
    prefetch_.reset();
    if (auto* qtPrompter = dynamic_cast<QtPrompter*>(services_.prompter)) {
        qtPrompter->setParentWindow(frame_.get());
    }
    frame_->OnInitialUpdate();
    frame_->show();
    return true;
}

void CTessupApp::startDataPrefetch() {
    // The folder as the frame's data start-up will find it without asking; without one (the
    // first start) the frame reads in turn, after the prompt.
    std::optional<std::string> folder;
    if (!services_.installFolder.empty()) {
        folder = platform::withTrailingSeparator(services_.installFolder);
    } else {
        const auto registry = platform::makeSystemRegistryStore();
        folder =
            Settings(*registry, nullptr).installFolderWithoutPrompt(platform::folderSeparator());
    }
    if (folder) {
        prefetch_ = std::make_unique<DataPrefetch>(*files_, *codec_, *folder);
    }
}

int CTessupApp::run() {
    if (InitInstance()) {
        QApplication::exec();
    }
    return 0;
}

}  // namespace quorrel
