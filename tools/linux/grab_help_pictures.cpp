// Takes the pictures of the help book from the program's real windows, offscreen: the
// main window with sample profiles, the about dialog and the help window. Run it from the
// repository root after changing a window, then rebuild the book:
//   build/bin/grab_help_pictures help/images build/bin/QuorrelHelp.chm
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QItemSelectionModel>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/ui/CAboutDlg.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProgramFonts.h"
#include "app/ui/UrlOpener.h"
#include "base/ui/Prompter.h"
#include "listview/CTessupDoc.h"
#include "listview/ui/CTessupView.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "platform/ui/linux/ChmHelpViewer.h"
#include "platform/ui/linux/ChmHelpWindow.h"
#include "tools/linux/SampleFrame.h"

namespace quorrel {
namespace {

// Answers nothing: the pictures need no dialog to run.
class SilentPrompter final : public Prompter {
public:
    MessageResult show(const Message&) override { return MessageResult::Ok; }
    int runModal(QDialog&) override { return QDialog::Rejected; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
};

class NoBrowser final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

IpProfile profile(const char* name, const char* ip, const char* mask, const char* gateway,
                  const char* dns1, const char* dns2) {
    IpProfile p;
    p.name = name;
    p.ipAddress = ip;
    p.subnetMask = mask;
    p.gateway = gateway;
    p.primaryDns = dns1;
    p.secondaryDns = dns2;
    return p;
}

IpProfile dhcp(const char* name) {
    IpProfile p;
    p.name = name;
    p.useDhcp = 1;
    p.dnsAuto = 1;
    return p;
}

bool save(QWidget& widget, const QDir& folder, const char* name) {
    widget.show();
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromUtf8(name));
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

int run(const QDir& out, const std::string& book) {
    applyProgramFonts();
    SilentPrompter prompter;
    NoBrowser browser;
    auto files = platform::makeSystemFileStore();
    auto codec = platform::makeCp949Codec();
    const QString scratch = QDir::temp().filePath("quorrel-help-pictures");
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);
    // The settings the frame reads and writes stay in the scratch folder.
    setenv("QUORREL_REGISTRY_DIR", scratch.toLocal8Bit().constData(), 1);

    bool ok = true;
    {
        CMainFrame frame(FrameServices{prompter, browser, *files, *codec,
                                       (scratch + "/").toStdString(), QSize(1024, 768)});
        // Only the samples: nothing of this machine's adapters goes into the pictures.
        frame.profiles().profileList.clear();
        frame.profiles().profileList.append(dhcp("집"));
        IpProfile office = profile("사무실", "192.168.10.23", "255.255.255.0", "192.168.10.1",
                                   "192.168.10.2", "168.126.63.1");
        office.isCurrent = 1;
        frame.profiles().profileList.append(office);
        frame.profiles().profileList.append(
            profile("실험실", "10.20.1.50", "255.255.0.0", "10.20.0.1", "10.20.0.2", ""));
        frame.profiles().profileList.append(
            profile("회의실 무선", "172.16.5.40", "255.255.255.0", "172.16.5.1", "172.16.5.1", ""));
        frame.profiles().profileList.append(
            profile("설정[1]", "192.168.0.77", "255.255.255.0", "", "", ""));
        CTessupDoc document;
        showSampleList(frame, document, 1);
        ok = save(frame, out, "main_window.png") && ok;
        frame.profiles().profileList.clear();  // nothing of the samples is written anywhere
        frame.hide();
    }
    {
        CAboutDlg about([](const std::string&) {});
        ok = save(about, out, "about.png") && ok;
    }
    {
        ChmHelpViewer viewer;
        viewer.displayTopic(book + "::/main/About.htm");
        viewer.window()->resize(900, 520);
        ok = save(*viewer.window(), out, "help_viewer.png") && ok;
    }
    QDir(scratch).removeRecursively();
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace quorrel

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <picture folder> <QuorrelHelp.chm>\n", argv[0]);
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    return quorrel::run(QDir(QString::fromLocal8Bit(argv[1])), argv[2]);
}
