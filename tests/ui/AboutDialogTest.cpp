#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "app/ui/CAboutDlg.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "base/ui/QtText.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"
#include "tests/ui/TestRegistryFolder.h"

namespace quorrel {
namespace {

class UrlRecorder final : public UrlOpener {
public:
    std::vector<std::string> opened;
    void open(const std::string& url) override { opened.push_back(url); }
};

class AboutDialogTest : public ::testing::Test {
protected:
    AboutDialogTest()
        : frame(FrameServices{prompter, urls, *files, *codec, temp.path(), QSize(1024, 768)}) {}

    // The dialog as the about command makes it, shown without running it modally.
    std::unique_ptr<CAboutDlg> showDialog() {
        auto dialog =
            std::make_unique<CAboutDlg>([this](const std::string& url) { frame.OpenUrl(url); });
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    test::TestRegistryFolder registry;
    test::TempFolder temp;
    test::RecordingPrompter prompter;
    UrlRecorder urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    CMainFrame frame;
};

TEST_F(AboutDialogTest, ShowsTheCaptionVersionLinksAndTheFreeOfChargeLine) {
    auto dialog = showDialog();
    EXPECT_EQ(dialog->windowTitle(), qs("Quorrel 정보"));
    EXPECT_EQ(dialog->versionText()->text(), "Quorrel v2.1.1");
    EXPECT_EQ(dialog->productLink()->text(), "http://quorrel.varnok.example/");
    EXPECT_EQ(dialog->separatorText()->text(), ",");
    EXPECT_EQ(dialog->makerLink()->text(), "http://www.varnok.example/");
    EXPECT_EQ(dialog->freeOfChargeText()->text(), qs("[Quorrel는 무료로 제공됩니다]"));
    EXPECT_EQ(dialog->okButton()->text(), qs("확인"));
    EXPECT_TRUE(dialog->okButton()->isDefault());
    EXPECT_EQ(dialog->banner()->pixmap().size(), QSize(420, 150));

    // Every control is whole inside the dialog and none covers another.
    const QList<QWidget*> controls =
        dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(controls.size(), 8);
    for (int i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(dialog->rect().contains(controls[i]->geometry())) << i;
        for (int j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << i << " and " << j;
        }
    }
    // The link texts are not cut off.
    for (QLabel* link :
         {static_cast<QLabel*>(dialog->productLink()), static_cast<QLabel*>(dialog->makerLink())}) {
        EXPECT_GE(link->width(), link->fontMetrics().horizontalAdvance(link->text()));
    }
}

TEST_F(AboutDialogTest, TheLinksArePureBlueUnderlinedGulimCheTwelvePixelsHigh) {
    auto dialog = showDialog();
    for (QLabel* link :
         {static_cast<QLabel*>(dialog->productLink()), static_cast<QLabel*>(dialog->makerLink())}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->font().family(), qs("굴림체"));
        EXPECT_EQ(link->font().pixelSize(), 12);
        EXPECT_EQ(link->font().weight(), QFont::Normal);
        EXPECT_FALSE(link->font().italic());
        // What is drawn is blue too.
        const QImage image = link->grab().toImage();
        bool blue = false;
        for (int y = 0; y < image.height() && !blue; ++y) {
            for (int x = 0; x < image.width() && !blue; ++x) {
                const QColor c = image.pixelColor(x, y);
                blue = c.blue() > 200 && c.red() < 60 && c.green() < 60;
            }
        }
        EXPECT_TRUE(blue) << link->text().toStdString();
    }
    // The other texts keep the dialog's colour.
    EXPECT_NE(dialog->versionText()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(dialog->versionText()->font().underline());
}

TEST_F(AboutDialogTest, ClickingALinkOpensItsPageThroughTheFrameAndKeepsTheDialogOpen) {
    auto dialog = showDialog();
    QTest::mouseClick(dialog->productLink(), Qt::LeftButton);
    QTest::mouseClick(dialog->makerLink(), Qt::LeftButton);
    QTest::mouseClick(dialog->makerLink(), Qt::LeftButton);
    EXPECT_EQ(urls.opened, (std::vector<std::string>{"http://quorrel.varnok.example/",
                                                     "http://www.varnok.example/",
                                                     "http://www.varnok.example/"}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);

    // A press that is released outside the text is no click; the right button is none.
    QTest::mousePress(dialog->productLink(), Qt::LeftButton);
    QTest::mouseRelease(dialog->productLink(), Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(dialog->productLink(), Qt::RightButton);
    EXPECT_EQ(urls.opened.size(), 3u);

    // Clicking the other texts does nothing; 확인 closes with OK.
    QTest::mouseClick(dialog->versionText(), Qt::LeftButton);
    EXPECT_EQ(urls.opened.size(), 3u);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(AboutDialogTest, TheMenuEntryAndTheLastToolbarButtonRunTheDialogWithoutAParent) {
    std::vector<QWidget*> parents;
    prompter.onDialog = [&](QDialog& dialog) {
        parents.push_back(dialog.parentWidget());
        // A link clicked while the dialog runs reaches the frame's browser.
        auto& about = dynamic_cast<CAboutDlg&>(dialog);
        QTest::mouseClick(about.productLink(), Qt::LeftButton);
        return int(QDialog::Accepted);
    };
    frame.menuAction(ID_APP_ABOUT)->trigger();
    const QList<QAction*> buttons = frame.toolBar()->actions();
    ASSERT_FALSE(buttons.isEmpty());
    EXPECT_EQ(buttons.back()->data().toInt(), ID_APP_ABOUT);
    buttons.back()->trigger();

    EXPECT_EQ(prompter.dialogTitles,
              (std::vector<QString>{qs("Quorrel 정보"), qs("Quorrel 정보")}));
    EXPECT_EQ(parents, (std::vector<QWidget*>{nullptr, nullptr}));
    EXPECT_EQ(urls.opened.size(), 2u);
}

TEST_F(AboutDialogTest, TheUpdateCheckOpensTheProductPageAndNothingElse) {
    frame.menuAction(ID_CHECK_UPDATE)->trigger();
    frame.runCommand(ID_CHECK_UPDATE);
    EXPECT_EQ(urls.opened, (std::vector<std::string>{"http://quorrel.varnok.example/",
                                                     "http://quorrel.varnok.example/"}));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.dialogTitles.empty());
}

}  // namespace
}  // namespace quorrel
