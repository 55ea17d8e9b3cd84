#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "app/StartupGate.h"

namespace quorrel {

class CMainFrame;
class DataPrefetch;
class Prompter;
class UrlOpener;

namespace platform {
class FileStore;
class TextCodec;
}  // namespace platform

// Replacements for the system's services; what is left null is the system's own.
struct AppServices {
    Prompter* prompter = nullptr;
    platform::InstanceLock* lock = nullptr;
    platform::WindowLookup* windows = nullptr;
    platform::AdapterProbe* probe = nullptr;
    UrlOpener* urlOpener = nullptr;
    // Empty: the folder the registry names; the user is asked for it when it names none.
    std::string installFolder;
};

// The application object: decides whether this process may run (one instance at a time,
// and only with a network adapter), sets up the fonts and Qt's Korean texts, creates the main frame
// and shows it. Needs a QApplication.
class CTessupApp {
public:
    explicit CTessupApp(AppServices services = {});
    ~CTessupApp();
    CTessupApp(const CTessupApp&) = delete;
    CTessupApp& operator=(const CTessupApp&) = delete;

    // True: the main window is shown and the message loop may run. False: the start was
    // refused (the user has been told why, or the running instance was brought forward);
    // nothing of the program was read or written.
    bool InitInstance();

    // InitInstance, then the message loop until the main window is gone. The process's
    // exit code: 0 on every path.
    int run();

    StartVerdict verdict() const { return verdict_; }
    CMainFrame* mainFrame() const { return frame_.get(); }

private:
    // The data file of the folder known without asking, read on a thread of its own while
    // the fonts, Qt's texts and the window are made.
    void startDataPrefetch();

    AppServices services_;
    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<platform::InstanceLock> ownLock_;
    std::unique_ptr<platform::WindowLookup> ownWindows_;
    std::unique_ptr<platform::AdapterProbe> ownProbe_;
    std::unique_ptr<UrlOpener> ownUrlOpener_;
    std::unique_ptr<platform::FileStore> files_;
    std::unique_ptr<platform::TextCodec> codec_;
    std::unique_ptr<DataPrefetch> prefetch_;
    std::unique_ptr<QObject> windowAnswers_;
    std::unique_ptr<CMainFrame> frame_;
    StartVerdict verdict_ = StartVerdict::Run;
};

}  // namespace quorrel
