#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "base/ui/QtText.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "platform/ui/linux/ChmHelpViewer.h"
#include "platform/ui/linux/ChmHelpWindow.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"
#include "tests/ui/TestRegistryFolder.h"

namespace quorrel {
namespace {

// The book the build puts beside the programs, these tests included.
std::string builtBook() {
    return QCoreApplication::applicationDirPath().toStdString() + "/QuorrelHelp.chm";
}

QString pageText(const ChmHelpWindow& window) {
    return window.browser()->document()->toPlainText();
}

class RecordingHelpViewer final : public platform::HelpViewer {
public:
    std::vector<std::string> locations;
    bool displayTopic(const std::string& location) override {
        locations.push_back(location);
        return true;
    }
};

class NoBrowser final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

TEST(ChmHelpViewer, OpensTheMainPageOfTheBookInAWindowOfItsOwn) {
    ChmHelpViewer viewer;
    ASSERT_TRUE(viewer.displayTopic(builtBook() + "::/main/Main.htm"));
    ChmHelpWindow* window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->windowTitle(), qs("Quorrel 도움말"));
    EXPECT_EQ(window->currentTopic(), "/main/Main.htm");
    EXPECT_TRUE(pageText(*window).contains(qs("Quorrel v2.1.1 도움말")));

    // The picture of the main window comes out of the book.
    const QVariant picture = window->browser()->document()->resource(
        QTextDocument::ImageResource, chmPageUrl("/images/main_window.png"));
    ASSERT_TRUE(picture.isValid());
    QImage image;
    if (picture.typeId() == QMetaType::QByteArray) {
        image = QImage::fromData(picture.toByteArray());
    } else if (picture.typeId() == QMetaType::QPixmap) {
        image = picture.value<QPixmap>().toImage();
    } else {
        image = picture.value<QImage>();
    }
    // The 750 x 400 picture is shrunk to the page's width, keeping its shape, so the page
    // needs no sideways scrolling.
    ASSERT_FALSE(image.isNull());
    EXPECT_LE(image.width(), window->browser()->viewport()->width() - 2 * 12);
    EXPECT_NEAR(image.height(), image.width() * 400 / 750, 1);
    EXPECT_FALSE(window->browser()->horizontalScrollBar()->isVisible());

    // A second request reuses the window.
    ASSERT_TRUE(viewer.displayTopic(builtBook() + "::/main/Apply.htm"));
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(window->currentTopic(), "/main/Apply.htm");
}

TEST(ChmHelpViewer, FollowsLinksInsideTheBookAndGoesBackAndHome) {
    ChmHelpViewer viewer;
    ASSERT_TRUE(viewer.displayTopic(builtBook() + "::/main/Main.htm"));
    ChmHelpWindow* window = viewer.window();
    EXPECT_FALSE(window->backButton()->isEnabled());

    emit window->browser()->anchorClicked(QUrl("Profiles.htm"));
    EXPECT_EQ(window->currentTopic(), "/main/Profiles.htm");
    EXPECT_TRUE(pageText(*window).contains(qs("IP 설정 추가 / 수정 창")));
    EXPECT_TRUE(window->backButton()->isEnabled());

    emit window->browser()->anchorClicked(QUrl("Adapters.htm#status"));
    EXPECT_EQ(window->currentTopic(), "/main/Adapters.htm");
    EXPECT_EQ(window->browser()->source().fragment(), "status");

    QTest::mouseClick(window->backButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentTopic(), "/main/Profiles.htm");
    QTest::mouseClick(window->forwardButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentTopic(), "/main/Adapters.htm");
    QTest::mouseClick(window->homeButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentTopic(), "/main/Main.htm");

    // A page that is not in the book leaves an empty page, not a crash.
    emit window->browser()->anchorClicked(QUrl("../main/Gone.htm"));
    EXPECT_TRUE(window->isVisible());
}

TEST(ChmHelpViewer, TheTableOfContentsBesideThePageOpensItsPages) {
    ChmHelpViewer viewer;
    ASSERT_TRUE(viewer.displayTopic(builtBook() + "::/main/Main.htm"));
    ChmHelpWindow* window = viewer.window();
    QTreeWidget* contents = window->contents();
    ASSERT_TRUE(contents->isVisible());
    // Beside the page, not over or under it.
    EXPECT_LT(contents->mapTo(window, QPoint(contents->width(), 0)).x(),
              window->browser()->mapTo(window, QPoint(0, 0)).x() + 1);
    ASSERT_GE(contents->topLevelItemCount(), 8);
    EXPECT_EQ(contents->topLevelItem(0)->text(0), qs("Quorrel 도움말"));
    EXPECT_EQ(contents->currentItem(), contents->topLevelItem(0));

    QTreeWidgetItem* profiles = contents->topLevelItem(1);
    EXPECT_EQ(profiles->text(0), qs("IP 설정 추가, 복사, 수정, 삭제"));
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(profiles).center());
    EXPECT_EQ(window->currentTopic(), "/main/Profiles.htm");
    EXPECT_TRUE(window->backButton()->isEnabled());
    QTest::mouseClick(window->backButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentTopic(), "/main/Main.htm");
    EXPECT_EQ(contents->currentItem(), contents->topLevelItem(0));
    QTest::mouseClick(window->forwardButton(), Qt::LeftButton);
    EXPECT_EQ(contents->currentItem(), profiles);
}

TEST(ChmHelpViewer, AMissingBookOrPageIsReportedInsideTheViewer) {
    test::TempFolder temp;
    ChmHelpViewer viewer;
    const std::string missing = temp.file("QuorrelHelp.chm");
    EXPECT_FALSE(viewer.displayTopic(missing + "::/main/Main.htm"));
    ChmHelpWindow* window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->currentTopic().isEmpty());
    EXPECT_TRUE(pageText(*window).contains(qs("도움말 파일을 열 수 없습니다.")));
    EXPECT_TRUE(pageText(*window).contains(QString::fromStdString(missing)));
    EXPECT_FALSE(window->homeButton()->isEnabled());

    // A file that is no book is reported the same way.
    test::writeFileBytes(missing, "not a book");
    EXPECT_FALSE(viewer.displayTopic(missing + "::/main/Main.htm"));
    EXPECT_TRUE(pageText(*window).contains(qs("도움말 파일을 열 수 없습니다.")));

    EXPECT_FALSE(viewer.displayTopic(builtBook() + "::/main/Gone.htm"));
    EXPECT_TRUE(
        pageText(*window).contains(qs("도움말 파일에 \"/main/Gone.htm\" 항목이 없습니다.")));
    EXPECT_TRUE(window->homeButton()->isEnabled());
    QTest::mouseClick(window->homeButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentTopic(), "/main/Main.htm");
}

class HelpCommandTest : public ::testing::Test {
protected:
    std::unique_ptr<CMainFrame> makeFrame(platform::FileStore& store) {
        return std::make_unique<CMainFrame>(
            FrameServices{prompter, urls, store, *codec, temp.path(), QSize(1024, 768)});
    }

    test::TempFolder temp;
    test::TestRegistryFolder registry;
    test::RecordingPrompter prompter;
    NoBrowser urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
};

TEST_F(HelpCommandTest, MenuAndToolbarOpenTheInstallFoldersBookAtItsMainPage) {
    auto frame = makeFrame(*files);
    RecordingHelpViewer viewer;
    frame->setHelpViewer(&viewer);
    frame->menuAction(ID_SHOW_HELP)->trigger();
    frame->toolButtonAction(ID_SHOW_HELP)->trigger();
    const std::string expected = temp.path() + "QuorrelHelp.chm::/main/Main.htm";
    EXPECT_EQ(viewer.locations, (std::vector<std::string>{expected, expected}));
    EXPECT_TRUE(prompter.messages.empty());

    // The book that came with the program is now in the install folder as well.
    EXPECT_EQ(test::readFileBytes(temp.file("QuorrelHelp.chm")), test::readFileBytes(builtBook()));
}

TEST_F(HelpCommandTest, TheHelpWindowStaysOpenWhenTheMainWindowCloses) {
    auto frame = makeFrame(*files);
    ChmHelpViewer viewer;
    frame->setHelpViewer(&viewer);
    frame->show();
    frame->runCommand(ID_SHOW_HELP);
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_EQ(viewer.window()->currentTopic(), "/main/Main.htm");

    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(viewer.window()->isVisible());
    frame.reset();
    EXPECT_TRUE(viewer.window()->isVisible());
}

TEST_F(HelpCommandTest, WithoutABookTheViewerSaysSoAndTheProgramShowsNothing) {
    // The program's folder offers no book either (an empty file store).
    test::MemoryFileStore empty;
    auto frame = makeFrame(empty);
    ChmHelpViewer viewer;
    frame->setHelpViewer(&viewer);
    frame->runCommand(ID_SHOW_HELP);
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_TRUE(viewer.window()->isVisible());
    EXPECT_TRUE(pageText(*viewer.window()).contains(qs("도움말 파일을 열 수 없습니다.")));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.dialogTitles.empty());
}

}  // namespace
}  // namespace quorrel
