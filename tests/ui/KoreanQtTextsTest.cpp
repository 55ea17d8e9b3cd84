#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/ui/QtPrompter.h"
#include "app/ui/QtTranslations.h"
#include "base/ui/QtText.h"
#include "resources/AppTexts.h"
#include "tests/support/WaitUntil.h"

namespace quorrel {
namespace {

// The words between "[" and "]" of a text: the buttons it names.
std::vector<QString> namedButtons(const QString& text) {
    std::vector<QString> names;
    qsizetype at = 0;
    while ((at = text.indexOf('[', at)) >= 0) {
        const qsizetype end = text.indexOf(']', at);
        if (end < 0) {
            break;
        }
        names.push_back(text.mid(at + 1, end - at - 1));
        at = end;
    }
    return names;
}

class KoreanQtTexts : public ::testing::Test {
protected:
    KoreanQtTexts() {
        if (const char* value = std::getenv("QUORREL_UNATTENDED")) {
            saved_ = value;
        }
        qunsetenv("QUORREL_UNATTENDED");
        installed = installQtTranslations();
    }
    ~KoreanQtTexts() override {
        if (saved_) {
            qputenv("QUORREL_UNATTENDED", saved_->c_str());
        }
    }

    // The button texts of the box that `message` opens, keyed by role; the box is
    // answered with its last button.
    std::map<QMessageBox::StandardButton, QString> buttonsOf(const Message& message) {
        std::map<QMessageBox::StandardButton, QString> texts;
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                texts[box->standardButton(button)] = button->text();
            }
            box->buttons().back()->click();
        });
        QtPrompter prompter;
        prompter.show(message);
        return texts;
    }

    bool installed = false;

private:
    std::optional<std::string> saved_;
};

TEST_F(KoreanQtTexts, TheCatalogueIsInstalledOnceAndTranslatesQtsOwnTexts) {
    ASSERT_TRUE(installed) << "qtbase_ko.qm is missing (package qt6-translations-l10n)";
    EXPECT_TRUE(installQtTranslations());
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), qs("다음에서 찾기:"));
    EXPECT_EQ(QCoreApplication::translate("QPrintPreviewDialog", "Landscape"), qs("가로"));
}

TEST_F(KoreanQtTexts, YesAndNoCarryTheWordsOurTextsNameThemBy) {
    ASSERT_TRUE(installed);
    // The save question tells the user what its "no" button does, by the button's word.
    const QString question = qs(texts::kSaveFailedOnCloseQuestion);
    const std::vector<QString> named = namedButtons(question);
    ASSERT_EQ(named.size(), 1u);

    const auto texts = buttonsOf(Message{texts::kSaveFailedOnCloseQuestion, texts::kAppTitle,
                                         MessageIcon::Question, MessageButtons::YesNo});
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts.at(QMessageBox::No), named.front());
    EXPECT_EQ(texts.at(QMessageBox::Yes), qs("예"));
}

TEST_F(KoreanQtTexts, OkAndCancelReadInKorean) {
    ASSERT_TRUE(installed);
    const auto ok = buttonsOf(standardMessage("설정 이름이 중복되었습니다."));
    ASSERT_EQ(ok.size(), 1u);
    EXPECT_EQ(ok.at(QMessageBox::Ok), qs("확인"));

    const auto okCancel = buttonsOf(
        Message{"계속할까요?", "Quorrel", MessageIcon::Question, MessageButtons::OkCancel});
    ASSERT_EQ(okCancel.size(), 2u);
    EXPECT_EQ(okCancel.at(QMessageBox::Ok), qs("확인"));
    EXPECT_EQ(okCancel.at(QMessageBox::Cancel), qs("취소"));
}

TEST_F(KoreanQtTexts, TheFolderPromptReadsInKorean) {
    ASSERT_TRUE(installed);
    // Qt's own folder dialog, as the prompt shows it where the desktop offers none.
    QFileDialog dialog(nullptr, qs("Quorrel가 설치된 폴더를 선택하십시오."));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), qs("선택(&C)"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), qs("취소"));
    bool lookIn = false;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        lookIn = lookIn || label->text() == qs("다음에서 찾기:");
        EXPECT_NE(label->text(), "Look in:");
    }
    EXPECT_TRUE(lookIn);
}

}  // namespace
}  // namespace quorrel
