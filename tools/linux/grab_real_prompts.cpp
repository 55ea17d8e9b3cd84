// The pictures of windows that the program shows through Qt's own modal loops: the save
// question on closing (a QMessageBox with Qt's Korean buttons and our "[아니오]") and the
// first-start folder prompt, both from the real QtPrompter, and the help viewer on the
// book's main page. A modal window is found once its loop runs, photographed after it has
// settled and answered the way a cancel would, so nothing blocks and nothing is written.
#include "tools/linux/grab_real_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/ProfileSaving.h"
#include "app/ui/QtPrompter.h"
#include "base/ui/QtText.h"
#include "platform/ui/linux/ChmHelpViewer.h"
#include "platform/ui/linux/ChmHelpWindow.h"
#include "resources/AboutTexts.h"
#include "resources/AppTexts.h"
#include "resources/ProfileTexts.h"

namespace quorrel::pictures {

void settle(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2000 && !done()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

bool save(QWidget& widget, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromUtf8(name));
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// From inside the modal loop the window is photographed once it has been on screen for half
// a second and then closed with `answer`. A window that never shows (or a native one that cannot be
// photographed) is closed after ten seconds so the run goes on.
bool grabModal(const QDir& out, const char* name, int answer, const std::function<void()>& open) {
    constexpr int kShownFor = 500;
    constexpr int kGiveUpAfter = 10000;
    bool saved = false;
    QElapsedTimer running;
    running.start();
    QElapsedTimer shown;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (!dialog->isVisible()) {
            if (running.elapsed() > kGiveUpAfter) {
                std::fprintf(stderr, "%s: the window never showed\n", name);
                poll.stop();
                dialog->done(answer);
            }
            return;
        }
        if (!shown.isValid()) {
            shown.start();
        }
        if (shown.elapsed() < kShownFor) {
            return;
        }
        poll.stop();
        saved = save(*dialog, out, name);
        dialog->done(answer);
    });
    poll.start();
    open();
    poll.stop();
    return saved;
}

bool grabSaveQuestion(const QDir& out) {
    QtPrompter prompter;
    const Message question = saveFailedOnCloseMessage(
        "/home/user/.local/share/Varnok/Quorrel/quorrel.dat", "Permission denied");
    return grabModal(out, "save-question.png", QMessageBox::No, [&] { prompter.show(question); });
}

bool grabFolderPrompt(const QDir& out, const std::string& startFolder) {
    QtPrompter prompter;
    QDir().mkpath(QString::fromStdString(startFolder));
    return grabModal(out, "folder-prompt.png", QDialog::Rejected, [&] {
        prompter.chooseFolder(qs(texts::kInstallFolderPromptTitle),
                              QString::fromStdString(startFolder));
    });
}

bool grabHelpViewer(const QDir& out, const std::string& book) {
    ChmHelpViewer viewer;
    viewer.displayTopic(book + "::" + texts::kHelpMainTopic);
    settle();
    const bool saved = save(*viewer.window(), out, "help-viewer.png");
    viewer.window()->hide();
    return saved;
}

}  // namespace quorrel::pictures
