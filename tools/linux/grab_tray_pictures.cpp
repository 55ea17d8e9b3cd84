// Takes the pictures of the program's knowledge of the network: the offer of the profile
// used on the network the adapter has come up on (the real frame's recognition, shown by
// the real prompter), and the tray icon's menu as opened from a system tray (scripts/screenshots.sh
// starts wmsystemtray on the virtual display). Adapters and registry are stand-ins; nothing is
// applied.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <cstdio>

#include "app/ui/CMainFrame.h"
#include "app/ui/FrameTray.h"
#include "app/ui/ProgramFonts.h"
#include "app/ui/QtPrompter.h"
#include "app/ui/QtTranslations.h"
#include "app/ui/UrlOpener.h"
#include "base/ui/Prompter.h"
#include "listview/CTessupDoc.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tools/linux/SampleFrame.h"
#include "tools/linux/grab_real_prompts.h"

namespace quorrel {
namespace {

using pictures::save;
using pictures::settle;

class NoBrowser final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

// The start-up's messages (an empty registry) are answered at once; once `real` is set,
// messages go to the program's own prompter, as the offer does.
class SamplePrompter final : public Prompter {
public:
    bool real = false;
    MessageResult show(const Message& message) override {
        return real ? qt_.show(message) : MessageResult::Ok;
    }
    int runModal(QDialog& dialog) override { return qt_.runModal(dialog); }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }

private:
    QtPrompter qt_;
};

IpProfile fixed(const char* name, const char* address, const char* gateway) {
    IpProfile profile;
    profile.name = name;
    profile.ipAddress = address;
    profile.subnetMask = "255.255.255.0";
    profile.gateway = gateway;
    profile.primaryDns = gateway;
    return profile;
}

int run(const QDir& out) {
    applyProgramFonts();
    installQtTranslations();
    SamplePrompter prompter;
    NoBrowser browser;
    auto files = platform::makeSystemFileStore();
    auto codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable adapters;
    test::FakeAdapterKeys keys;
    const QString scratch = QDir::temp().filePath("quorrel-tray-pictures");
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);

    CMainFrame frame(FrameServices{prompter, browser, *files, *codec, (scratch + "/").toStdString(),
                                   QSize(1024, 768), &registry, &adapters, &keys});
    ProfileList& list = frame.profiles().profileList;
    IpProfile home = fixed("집", "192.168.0.20", "192.168.0.1");
    home.isCurrent = 1;
    list.append(home);
    list.append(fixed("사무실", "192.168.10.23", "192.168.10.1"));
    list.append(fixed("실험실", "10.20.1.50", "10.20.1.1"));
    CTessupDoc document;
    showSampleList(frame, document, 0);
    frame.chosenAdapter().currentSettings->ipAddress = "192.168.0.20";
    frame.profiles().networks.remember("사무실", {"00:1A:2B:3C:4D:5E", ""},
                                       NetworkMemory::Moment::Applied);
    frame.show();
    settle();
    prompter.real = true;

    // The adapter came up behind the office's gateway; 아니오 leaves everything as it is.
    bool ok = pictures::grabModal(out, "recognition-offer.png", QMessageBox::No, [&] {
        frame.recogniseNetwork({"00:1A:2B:3C:4D:5E", ""});
    });

    // The tray: its menu, opened where the tray holds the icon. (The icon that Qt embeds in
    // the tray on a bare X display is not painted there, so the menu is taken on its own.)
    FrameTray* tray = frame.tray();
    tray->setVisible(true);
    settle([&] { return tray->icon()->geometry().isValid(); });
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !tray->icon()->geometry().isValid()) {
        std::fprintf(stderr, "no tray on this display\n");
        return 1;
    }
    frame.showMinimized();
    const QRect icon = tray->icon()->geometry();
    tray->menu()->popup(icon.bottomLeft() + QPoint(0, 4));
    settle([&] { return false; });
    ok = save(*tray->menu(), out, "tray-menu.png") && ok;
    std::printf("tooltip: %s\n", qPrintable(tray->icon()->toolTip()));
    tray->menu()->hide();
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace quorrel

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: grab_tray_pictures <folder>\n");
        return 2;
    }
    return quorrel::run(QDir(QString::fromLocal8Bit(argv[1])));
}
