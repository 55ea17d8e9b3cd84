// Takes the README's pictures from the program's real windows: the main window, the profile
// editor, the adapter dialog, the apply confirmation and progress dialogs, the status view,
// the about dialog, a printed page (as a PDF that scripts/screenshots.sh turns into a
// picture), the print preview, the save question on closing, the first-start folder
// prompt, the help viewer and a zoomed comparison of the list's old and new face. The
// adapters, the
// registry, the ipconfig report and the apply's commands are stand-ins: nothing of this
// machine's network shows, and nothing is changed. Run through scripts/screenshots.sh.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>

#include "adapters/ui/CAdapterSelectDlg.h"
#include "adapters/ui/CAdapterStatusDlg.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProgramFonts.h"
#include "app/ui/QtTranslations.h"
#include "app/ui/UrlOpener.h"
#include "apply/ApplyPlan.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "base/ui/Prompter.h"
#include "listview/CTessupDoc.h"
#include "listview/PrinterInventory.h"
#include "listview/ui/CProfileEditDlg.h"
#include "listview/ui/CTessupView.h"
#include "listview/ui/PrintCommands.h"
#include "platform/FileStore.h"
#include "platform/PlatformPaths.h"
#include "platform/TextCodec.h"
#include "resources/AppTexts.h"
#include "system/OutputCapture.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tools/linux/SampleFrame.h"
#include "tools/linux/grab_real_prompts.h"

namespace quorrel {
namespace {

using pictures::save;
using pictures::settle;

// Every modal dialog is shown, left to settle until `ready` says so, photographed under
// the name given for it and closed.
class GrabbingPrompter final : public Prompter {
public:
    explicit GrabbingPrompter(QDir out) : out_(std::move(out)) {}

    MessageResult show(const Message&) override { return MessageResult::Ok; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    int runModal(QDialog& dialog) override {
        if (name_.empty()) {
            return QDialog::Rejected;
        }
        if (size_.isValid()) {
            dialog.resize(size_);
        }
        dialog.show();
        settle(ready_);
        ok = save(dialog, out_, name_.c_str()) && ok;
        name_.clear();
        dialog.hide();
        return QDialog::Rejected;
    }
    // `size`, when given, is the size the dialog is photographed at.
    void next(
        std::string name, std::function<bool()> ready = [] { return false; }, QSize size = {}) {
        name_ = std::move(name);
        ready_ = std::move(ready);
        size_ = size;
    }

    bool ok = true;

private:
    QDir out_;
    std::string name_;
    std::function<bool()> ready_;
    QSize size_;
};

class NoBrowser final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

// An ipconfig report as the status view reads it.
class SampleReport final : public system::OutputCapture {
public:
    Done start() override { return {}; }
    bool collect(const system::OutputPiece& piece, const system::StopRequest&) override {
        piece(
            "\r\nWindows IP Configuration\r\n\r\n"
            "Ethernet adapter 로컬 영역 연결:\r\n\r\n"
            "        Connection-specific DNS Suffix  . :\r\n"
            "        IP Address. . . . . . . . . . . . : 192.168.10.23\r\n"
            "        Subnet Mask . . . . . . . . . . . : 255.255.255.0\r\n"
            "        Default Gateway . . . . . . . . . : 192.168.10.1\r\n\r\n"
            "Ethernet adapter 무선 네트워크 연결:\r\n\r\n"
            "        Connection-specific DNS Suffix  . : lab.example\r\n"
            "        IP Address. . . . . . . . . . . . : 10.20.1.50\r\n"
            "        Subnet Mask . . . . . . . . . . . : 255.255.0.0\r\n"
            "        Default Gateway . . . . . . . . . : 10.20.0.1\r\n");
        return true;
    }
};

// Commands that take their time, so the progress dialog is seen at work.
class SlowRunner final : public platform::ProcessRunner {
public:
    platform::ProcessOutcome runAndWait(const std::string&) override {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [this] { return free_; });
        return platform::ProcessOutcome::exited(0);
    }
    void release() {
        const std::lock_guard lock(mutex_);
        free_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool free_ = false;
};

class OnePrinter final : public PrinterInventory {
public:
    std::vector<std::string> entryNames() const override { return {"PDF"}; }
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

ProfileList sampleProfiles() {
    ProfileList list;
    IpProfile home;
    home.name = "집";
    home.useDhcp = 1;
    home.dnsAuto = 1;
    list.append(home);
    IpProfile office = profile("사무실", "192.168.10.23", "255.255.255.0", "192.168.10.1",
                               "192.168.10.2", "168.126.63.1");
    office.isCurrent = 1;
    list.append(office);
    list.append(profile("실험실", "10.20.1.50", "255.255.0.0", "10.20.0.1", "10.20.0.2", ""));
    list.append(
        profile("회의실 무선", "172.16.5.40", "255.255.255.0", "172.16.5.1", "172.16.5.1", ""));
    list.append(profile("설정[1]", "192.168.0.77", "255.255.255.0", "", "", ""));
    return list;
}

// The list's rows in one face, cut out and enlarged, as the reader's eye sees small type.
QImage listInFace(const QString& family, const ProfileList& profiles) {
    QFont font = QApplication::font();
    font.setFamily(family);
    CTessupDoc document;
    CTessupView view(&document);
    view.setFont(font);
    view.resize(560, 130);
    view.OnInitialUpdate(profiles);
    view.show();
    settle([] { return true; });
    const QImage rows = view.grab(QRect(0, 0, 420, 100)).toImage();
    view.hide();
    return rows.scaled(rows.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool saveFontComparison(const QDir& out, const ProfileList& profiles) {
    const QImage before = listInFace("NanumGothic", profiles);
    const QImage after = listInFace(QString::fromUtf8(texts::kApplicationFont), profiles);
    constexpr int kCaption = 34;
    QImage both(before.width(), 2 * (before.height() + kCaption), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter painter(&both);
    QFont caption(QString::fromUtf8(texts::kApplicationFont));
    caption.setPixelSize(20);
    painter.setFont(caption);
    painter.drawText(8, 25, QString::fromUtf8("이전: NanumGothic, 9pt (3배 확대)"));
    painter.drawImage(0, kCaption, before);
    painter.drawText(8, before.height() + kCaption + 25,
                     QString::fromUtf8("이후: ") + QString::fromUtf8(texts::kApplicationFont) +
                         QString::fromUtf8(", 9pt (3배 확대)"));
    painter.drawImage(0, before.height() + 2 * kCaption, after);
    painter.end();
    const QString path = out.filePath("fonts-before-after.png");
    std::printf("%s\n", qPrintable(path));
    return both.save(path, "PNG");
}

int run(const QDir& out, const QString& pdf) {
    applyProgramFonts();
    installQtTranslations();
    GrabbingPrompter prompter(out);
    NoBrowser browser;
    auto files = platform::makeSystemFileStore();
    auto codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable adapters;
    adapters.entries = {
        test::tableEntry("{A}", 0, "192.168.10.23", "255.255.255.0", "192.168.10.1"),
        test::tableEntry("{B}", 1, "10.20.1.50", "255.255.0.0", "10.20.0.1")};
    test::FakeAdapterKeys keys;
    keys.add("{A}", "로컬 영역 연결", std::string("192.168.10.2,168.126.63.1"));
    keys.add("{B}", "무선 네트워크 연결");
    const QString scratch = QDir::temp().filePath("quorrel-docs-pictures");
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);
    bool ok = true;
    const ProfileList samples = sampleProfiles();

    {
        CMainFrame frame(FrameServices{prompter, browser, *files, *codec,
                                       (scratch + "/").toStdString(), QSize(1024, 768), &registry,
                                       &adapters, &keys});
        frame.profiles().profileList = samples;
        CTessupDoc document;
        CTessupView* view = showSampleList(frame, document, 2);
        frame.show();
        settle([] { return false; });
        ok = save(frame, out, "main-window.png") && ok;

        // A printed page: the list as it stands, through the print command's own route.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        OnePrinter printers;
        view->setPrintServices(PrintServices{&prompter, &printers, &printer, [](int) {}});
        view->OnFilePrintDirect();

        // The program's own print preview, A4 portrait only, tall enough to read the page.
        prompter.next(
            "print-preview.png", [] { return false; }, QSize(640, 860));
        view->OnFilePrintPreview();

        // The adapter dialog over the frame.
        prompter.next("adapter-dialog.png");
        frame.adapterSelectDlg().DoModal(prompter);

        frame.profiles().profileList.clear();  // nothing of the samples is written anywhere
        frame.hide();
    }
    {
        ProfileList list = samples;
        CProfileEditDlg editor(list, *codec, prompter);
        editor.editMode = true;
        editor.profile = *list.findByName("사무실");
        editor.originalEntry = list.findByName("사무실");
        editor.OnInitDialog();
        editor.show();
        settle();
        ok = save(editor, out, "profile-editor.png") && ok;
    }
    {
        CApplyConfirmDlg confirm(makeConfirmationTexts("로컬 영역 연결", "192.168.10.23",
                                                       "255.255.255.0", "192.168.10.1"));
        confirm.show();
        settle();
        ok = save(confirm, out, "apply-confirm.png") && ok;
    }
    {
        auto runner = std::make_shared<SlowRunner>();
        CommandThreadServices services;
        services.runner = runner;
        CApplyProgressDlg progress(ApplyPlan{"netsh address", "netsh dns", ""}, services);
        progress.show();
        settle();
        ok = save(progress, out, "apply-progress.png") && ok;
        runner->release();
        settle([&] { return !progress.workerRunning(); });
        progress.hide();
    }
    {
        CAdapterStatusDlg status(prompter, std::make_unique<SampleReport>());
        prompter.next("adapter-status.png", [&] { return !status.reading(); });
        status.DoModal(prompter);
    }
    {
        CAboutDlg about([](const std::string&) {});
        about.show();
        settle();
        ok = save(about, out, "about.png") && ok;
    }
    ok = saveFontComparison(out, samples) && ok;
    ok = pictures::grabSaveQuestion(out) && ok;
    ok = pictures::grabFolderPrompt(out, platform::defaultInstallFolder()) && ok;
    // The book lies beside the programs.
    const QString book = QDir(QApplication::applicationDirPath()).filePath("QuorrelHelp.chm");
    ok = pictures::grabHelpViewer(out, book.toStdString()) && ok;
    QDir(scratch).removeRecursively();
    return ok && prompter.ok ? 0 : 1;
}

}  // namespace
}  // namespace quorrel

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <picture folder> <printed page.pdf>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    return quorrel::run(QDir(QString::fromLocal8Bit(argv[1])), QString::fromLocal8Bit(argv[2]));
}
