#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "adapters/ui/BitmapButton.h"
#include "adapters/ui/CAdapterStatusDlg.h"
#include "apply/ui/TemplateGeometry.h"
#include "resources/AdapterTexts.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/EventLoopWait.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

// The status view runs our ipconfig; QUORREL_IPCONFIG points it at a small shell script
// of the test's own instead, started as a real child process.
class AdapterStatusDlgTest : public ::testing::Test {
protected:
    ~AdapterStatusDlgTest() override {
        if (saved_) {
            setenv("QUORREL_IPCONFIG", saved_->c_str(), 1);
        } else {
            unsetenv("QUORREL_IPCONFIG");
        }
    }

    void useReportScript(const std::string& body) {
        const std::string path = temp.file("report.sh");
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), 0755);
        setenv("QUORREL_IPCONFIG", path.c_str(), 1);
    }

    // Opens the view as the frame does, lets it read the whole report while it is open
    // and returns the field's text.
    QString openView() {
        dialog = std::make_unique<CAdapterStatusDlg>(prompter);
        prompter.onDialog = [this](QDialog&) {
            EXPECT_TRUE(test::waitWithEvents([this] { return !dialog->reading(); }));
            return QDialog::Accepted;
        };
        dialog->DoModal(prompter);
        return dialog->reportField()->toPlainText();
    }

    test::TempFolder temp;
    test::RecordingPrompter prompter;
    std::unique_ptr<CAdapterStatusDlg> dialog;

private:
    std::optional<std::string> saved_ = [] {
        const char* value = std::getenv("QUORREL_IPCONFIG");
        return value ? std::optional<std::string>(value) : std::nullopt;
    }();
};

TEST_F(AdapterStatusDlgTest, TakesItsTemplatesSizeAndPlacesInTheDialogFont) {
    CAdapterStatusDlg view(prompter);
    const TemplateGeometry at(view.font());
    EXPECT_EQ(view.size(), QSize(at.across(291), at.down(280)));
    EXPECT_EQ(view.reportField()->geometry(), at.rect(9, 30, 273, 223));
    EXPECT_EQ(view.closeButton()->pos(), QPoint(at.across(230), at.down(258)));
    EXPECT_TRUE(view.rect().contains(view.closeButton()->geometry()));
}

TEST_F(AdapterStatusDlgTest, ShowsTheWholeOutputWhateverItsLength) {
    // 3000 bytes come in reads of 1024, 1024 and 952; 2048 is an exact multiple of a read.
    for (const int size : {3000, 2048, 1024, 5}) {
        SCOPED_TRACE(size);
        useReportScript("head -c " + std::to_string(size) + " /dev/zero | tr '\\0' 'x'");
        const QString text = openView();
        EXPECT_EQ(text.size(), size);
        EXPECT_EQ(text, QString(size, QLatin1Char('x')));
    }
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(prompter.dialogTitles.back(), QString::fromUtf8("현황보기"));
}

TEST_F(AdapterStatusDlgTest, OutputInPiecesAndNoOutputAtAllDoNotHang) {
    useReportScript("printf 'one'; sleep 0.2; printf ' two'");
    EXPECT_EQ(openView(), "one two");

    useReportScript("exit 0");
    EXPECT_EQ(openView(), "");
    EXPECT_TRUE(prompter.messages.empty());
}

// A report command that hangs, after part of its report or before any: the window goes on
// working while it waits (what arrives shows at once), and when the deadline passes, or
// the window is closed, the reading ends with what arrived. The tests are the deadline's
// clock: they fire it themselves.
TEST_F(AdapterStatusDlgTest, AHangingReportCommandNeverFreezesTheWindow) {
    struct Case {
        const char* name;
        const char* before;  // what the command writes before it hangs
        bool closeInstead;   // the user closes the window before the deadline
    };
    for (const Case& c :
         {Case{"part, then hangs", "part of it", false}, Case{"nothing and never ends", "", false},
          Case{"closed while it hangs", "part of it", true}}) {
        SCOPED_TRACE(c.name);
        const std::string pidFile = temp.file("report.pid");
        std::remove(pidFile.c_str());
        useReportScript("echo $$ > '" + pidFile + "'; printf '" + c.before + "'; exec sleep 120");
        dialog = std::make_unique<CAdapterStatusDlg>(prompter);
        prompter.onDialog = [&](QDialog&) {
            EXPECT_TRUE(dialog->reading());
            EXPECT_TRUE(dialog->readDeadline()->isActive());
            EXPECT_EQ(dialog->readDeadline()->interval(), 10000);
            // The event loop runs while the command hangs: its output shows as it comes.
            EXPECT_TRUE(test::waitWithEvents([&] {
                return !test::readFileBytes(pidFile).empty() &&
                       dialog->reportField()->toPlainText() == QString::fromUtf8(c.before);
            }));
            EXPECT_TRUE(dialog->reading());
            if (c.closeInstead) {
                return QDialog::Rejected;
            }
            dialog->OnReadDeadline();
            EXPECT_TRUE(test::waitWithEvents([&] { return !dialog->reading(); }));
            EXPECT_FALSE(dialog->readDeadline()->isActive());
            return QDialog::Accepted;
        };
        dialog->DoModal(prompter);
        EXPECT_EQ(dialog->reportField()->toPlainText(), QString::fromUtf8(c.before));
        dialog.reset();  // stops a reading still going
        EXPECT_TRUE(prompter.messages.empty());
        const pid_t hung = static_cast<pid_t>(std::atol(test::readFileBytes(pidFile).c_str()));
        ASSERT_GT(hung, 0);
        ::kill(hung, SIGKILL);
    }
}

TEST_F(AdapterStatusDlgTest, LinesEndingInCrLfShowAsLinesAndTextIsShownUnchanged) {
    useReportScript(
        "printf 'Windows IP \\354\\204\\244\\354\\240\\225\\r\\n\\r\\n   Host Name . . : "
        "pc\\r\\n'");
    const QString text = openView();
    EXPECT_EQ(text.split('\n'),
              (QStringList{QString::fromUtf8("Windows IP 설정"), "", "   Host Name . . : pc", ""}));
    EXPECT_EQ(dialog->reportField()->document()->blockCount(), 4);
    EXPECT_FALSE(text.contains('\r'));

    // Read-only, no wrapping, both scroll bars, a fixed-pitch font.
    QPlainTextEdit* field = dialog->reportField();
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(field->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(field->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(field->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics(field->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"));
}

TEST_F(AdapterStatusDlgTest, AProgramThatCannotStartIsReportedOnceAndLeavesTheFieldEmpty) {
    setenv("QUORREL_IPCONFIG", temp.file("no-such-program").c_str(), 1);
    EXPECT_EQ(openView(), "");
    ASSERT_EQ(prompter.messages.size(), 1u);
    const Message& shown = prompter.messages[0];
    EXPECT_EQ(shown.text, texts::kStatusStartFailedText);
    EXPECT_EQ(shown.caption, "Quorrel - 파일 실행 실패");
    EXPECT_EQ(shown.icon, MessageIcon::Stop);
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    // The dialog still opens, empty.
    EXPECT_EQ(prompter.dialogTitles.size(), 1u);

    // The close picture button, 80 x 23, ends the dialog with OK.
    EXPECT_EQ(dialog->closeButton()->sizeHint(), QSize(80, 23));
    dialog->show();
    dialog->closeButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace quorrel
