#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "app/FrameLayout.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "base/ui/QtText.h"
#include "listview/ui/CTessupView.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "resources/AdapterTexts.h"
#include "resources/AppTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

class RecordingUrlOpener final : public UrlOpener {
public:
    std::vector<std::string> opened;
    void open(const std::string& url) override { opened.push_back(url); }
};

class MainFrameTest : public ::testing::Test {
protected:
    // A frame on a machine without adapters and with an empty registry, so that no
    // profile is taken over from an adapter. The notice that there is no adapter is not
    // what these tests look at.
    std::unique_ptr<CMainFrame> makeFrame(const std::string& folder, QSize screen = {1024, 768}) {
        auto frame = std::make_unique<CMainFrame>(FrameServices{
            prompter, urls, *files, *codec, folder, screen, &registry, &adapters, &adapterKeys});
        std::erase_if(prompter.messages,
                      [](const Message& m) { return m.text == texts::kNoAdapterText; });
        return frame;
    }

    test::TempFolder temp;
    test::RecordingPrompter prompter;
    RecordingUrlOpener urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable adapters;
    test::FakeAdapterKeys adapterKeys;
};

TEST_F(MainFrameTest, OpensCentredWithThePlainTitleThenShowsTheChosenAdapter) {
    auto frame = makeFrame(temp.path());
    EXPECT_EQ(frame->windowTitle(), "Quorrel v2.1.1");
    EXPECT_EQ(frame->pos(), QPoint(137, 184));
    EXPECT_EQ(frame->size(), QSize(750, 400));

    frame->UpdateTitle();  // no adapter picture yet: an empty name
    EXPECT_EQ(frame->windowTitle(), qs("Quorrel v2.1.1  [선택 어댑터 : ]"));

    frame->chosenAdapter().currentSettings =
        test::dhcpProfile("").adapter("로컬 영역 연결 2").build();
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), qs("Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결 2]"));
}

TEST_F(MainFrameTest, WithoutAGivenSizeItCentresOnThePrimaryScreen) {
    auto frame = makeFrame(temp.path(), QSize());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const FrameRect expected = centredFrameRect(screen.width(), screen.height());
    EXPECT_EQ(frame->pos(), QPoint(expected.x, expected.y));
    EXPECT_EQ(frame->size(), QSize(750, 400));
}

struct ExpectedEntry {
    const char* text;  // nullptr for a separator
    int command;
};

TEST_F(MainFrameTest, MenuBarHoldsTheFiveMenusWithTheirEntriesInOrder) {
    auto frame = makeFrame(temp.path());
    const std::vector<std::pair<const char*, std::vector<ExpectedEntry>>> expected = {
        {"파일(&F)",
         {{"인쇄(&P)...\tCtrl+P", 57607},
          {"인쇄 미리 보기(&V)", 57609},
          {nullptr, 0},
          {"종료(&X)", 57665}}},
        {"도구(&T)",
         {{"어댑터 선택(&C)...", 32778},
          {"적용(&S)", 32779},
          {"적용 후 연결 확인", 32800},
          {"자동 전환", 32801},
          {"트레이 아이콘 표시", 32802}}},
        {"편집(&E)",
         {{"추가(&A)...", 32772},
          {"복사(&C)", 32773},
          {"수정(&E)...", 32774},
          {"삭제(&D)", 32775}}},
        {"보기(&V)",
         {{"도구 모음(&T)", 59392},
          {"상태 표시줄(&S)", 59393},
          {nullptr, 0},
          {"현황(&V)...", 32776}}},
        {"도움말(&H)",
         {{"Quorrel 정보(&A)...", 57664},
          {"업데이트 확인(&C)...", 32799},
          {"도움말(&H)...", 32777}}},
    };
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].first);
        const QAction* menu = menus[static_cast<qsizetype>(m)];
        EXPECT_EQ(menu->text(), qs(expected[m].first));
        ASSERT_NE(menu->menu(), nullptr);
        const QList<QAction*> entries = menu->menu()->actions();
        ASSERT_EQ(entries.size(), static_cast<qsizetype>(expected[m].second.size()));
        for (qsizetype e = 0; e < entries.size(); ++e) {
            const ExpectedEntry& want = expected[m].second[static_cast<std::size_t>(e)];
            if (want.text == nullptr) {
                EXPECT_TRUE(entries[e]->isSeparator());
                continue;
            }
            EXPECT_EQ(entries[e]->text(), qs(want.text));
            EXPECT_EQ(entries[e]->data().toInt(), want.command);
            EXPECT_FALSE(entries[e]->statusTip().isEmpty()) << want.text;
        }
    }
    // The ten toolbar commands show their small pictures in the menus; the others none.
    EXPECT_FALSE(frame->menuAction(ID_PROFILE_ADD)->icon().isNull());
    EXPECT_EQ(frame->menuAction(ID_PROFILE_ADD)->icon().actualSize(QSize(16, 16)), QSize(16, 15));
    EXPECT_TRUE(frame->menuAction(ID_APP_EXIT)->icon().isNull());
    EXPECT_TRUE(frame->menuAction(ID_CHECK_UPDATE)->icon().isNull());
    EXPECT_EQ(frame->menuAction(ID_FILE_PRINT_PREVIEW)->statusTip(),
              qs("인쇄할 내용을 보여줍니다"));
    EXPECT_EQ(frame->menuAction(ID_APP_EXIT)->statusTip(),
              qs("응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다"));
}

TEST_F(MainFrameTest, ARightClickOnTheBarsOpensNoMenu) {
    auto frame = makeFrame(temp.path());
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    // The toolbar, the empty part of the toolbar area beside it and the menu bar.
    QToolBar* bar = frame->toolBar();
    const QPoint besideButtons(bar->width() - 2, bar->height() / 2);
    for (QWidget* target : {static_cast<QWidget*>(bar), static_cast<QWidget*>(frame->menuBar())}) {
        const QPoint at = target == bar ? besideButtons : QPoint(target->width() - 2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_FALSE(qobject_cast<QMenu*>(window) != nullptr && window->isVisible())
                << "a menu opened on " << target->objectName().toStdString();
        }
    }
    EXPECT_EQ(frame->createPopupMenu(), nullptr);
}

TEST_F(MainFrameTest, ToolbarHasTenLabelledButtonsGreyUntilTheMouseIsOverThem) {
    auto frame = makeFrame(temp.path());
    QToolBar* bar = frame->toolBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "Quorrel ToolBar");
    EXPECT_EQ(bar->iconSize(), QSize(42, 35));
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    const std::vector<std::tuple<int, const char*, const char*>> expected = {
        {57607, "인쇄", "현재 열린 문서를 인쇄합니다"},
        {32778, "어댑터 선택", "IP 설정을 변경하기 위한 어댑터를 선택합니다"},
        {32779, "적용", "현재 선택된 어댑터의 IP 설정을 선택된 설정 값으로 변경합니다"},
        {32772, "추가", "설정을 추가합니다"},
        {32773, "복사", "선택된 설정을 복사하여 새로운 설정을 추가합니다"},
        {32774, "수정", "선택된 설정의 세부 정보를 수정합니다"},
        {32775, "삭제", "선택된 설정을 삭제합니다"},
        {32776, "현황", "현재 각 어댑터에 설정된 현황을 보여줍니다"},
        {32777, "도움말", "도움말을 보여줍니다"},
        {57664, "정보", "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다"},
    };
    const QList<QAction*> buttons = bar->actions();
    ASSERT_EQ(buttons.size(), 10);
    std::vector<QImage> normals;
    for (int i = 0; i < 10; ++i) {
        const auto& [command, label, prompt] = expected[static_cast<std::size_t>(i)];
        SCOPED_TRACE(label);
        EXPECT_FALSE(buttons[i]->isSeparator());
        EXPECT_EQ(buttons[i]->data().toInt(), command);
        EXPECT_EQ(buttons[i]->text(), qs(label));
        EXPECT_EQ(buttons[i]->toolTip(), qs(prompt));
        EXPECT_EQ(buttons[i]->statusTip(), qs(prompt));
        const QIcon icon = buttons[i]->icon();
        const QImage normal = icon.pixmap(QSize(42, 35), QIcon::Normal).toImage();
        const QImage active = icon.pixmap(QSize(42, 35), QIcon::Active).toImage();
        EXPECT_EQ(normal.size(), QSize(42, 35));
        EXPECT_NE(normal, active);
        EXPECT_TRUE(normal.isGrayscale()) << "the normal picture is grey";
        EXPECT_FALSE(active.isGrayscale()) << "the picture under the mouse is coloured";
        normals.push_back(normal);
    }
    for (std::size_t i = 1; i < normals.size(); ++i) {
        EXPECT_NE(normals[i - 1], normals[i]) << "buttons " << i - 1 << " and " << i;
    }
}

TEST_F(MainFrameTest, StatusBarShowsTheMakerAndThePromptOfWhatIsUnderTheMouse) {
    auto frame = makeFrame(temp.path());
    QLabel* maker = frame->poweredByPane();
    QLabel* prompt = frame->promptPane();
    ASSERT_NE(maker, nullptr);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(maker->text(), "Powered by Varnok");
    EXPECT_EQ(maker->width(), 120);
    EXPECT_GE(prompt->minimumWidth(), 250);
    EXPECT_EQ(prompt->text(), qs("준비"));
    frame->show();
    EXPECT_LT(maker->x(), prompt->x());

    auto* button = qobject_cast<QToolButton*>(
        frame->toolBar()->widgetForAction(frame->toolButtonAction(ID_PROFILE_COPY)));
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(prompt->text(), qs("선택된 설정을 복사하여 새로운 설정을 추가합니다"));
    EXPECT_EQ(maker->text(), "Powered by Varnok");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(prompt->text(), qs("준비"));

    // A menu entry under the mouse reports its prompt the same way.
    frame->menuAction(ID_VIEW_STATUS_BAR)->showStatusText(frame->menuBar());
    EXPECT_EQ(prompt->text(), qs("상태 표시줄을 표시하거나 감춥니다"));
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
}

TEST_F(MainFrameTest, BarsAreShownAndHiddenFromTheViewMenu) {
    auto frame = makeFrame(temp.path());
    frame->show();
    QAction* toolbarEntry = frame->menuAction(ID_VIEW_TOOLBAR);
    QAction* statusEntry = frame->menuAction(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(toolbarEntry->isChecked());
    EXPECT_TRUE(statusEntry->isChecked());

    toolbarEntry->trigger();
    EXPECT_FALSE(frame->toolBar()->isVisible());
    EXPECT_FALSE(toolbarEntry->isChecked());
    toolbarEntry->trigger();
    EXPECT_TRUE(frame->toolBar()->isVisible());
    EXPECT_TRUE(toolbarEntry->isChecked());

    statusEntry->trigger();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_FALSE(statusEntry->isChecked());
    statusEntry->trigger();
    EXPECT_TRUE(frame->statusBar()->isVisible());

    frame->ShowMenuBar(0);
    EXPECT_FALSE(frame->menuBar()->isVisible());
    frame->ShowMenuBar(1);
    EXPECT_TRUE(frame->menuBar()->isVisible());
    frame->ShowMenuBar(2);  // only 1 shows it
    EXPECT_FALSE(frame->menuBar()->isVisible());
}

TEST_F(MainFrameTest, EveryEntryAndButtonRunsItsCommandAndNoneCrashesWithoutAHandler) {
    auto frame = makeFrame(temp.path());
    frame->show();
    std::vector<int> ran;
    frame->setCommandHandler(ID_PROFILE_ADD, [&] { ran.push_back(ID_PROFILE_ADD); });
    frame->menuAction(ID_PROFILE_ADD)->trigger();
    frame->toolButtonAction(ID_PROFILE_ADD)->trigger();
    EXPECT_EQ(ran, (std::vector<int>{ID_PROFILE_ADD, ID_PROFILE_ADD}));

    for (QAction* menu : frame->menuBar()->actions()) {
        for (QAction* entry : menu->menu()->actions()) {
            if (!entry->isSeparator() && entry->data().toInt() != ID_APP_EXIT) {
                entry->trigger();
            }
        }
    }
    for (QAction* button : frame->toolBar()->actions()) {
        button->trigger();
    }
    EXPECT_TRUE(frame->isVisible());

    frame->setCommandEnabled(ID_PROFILE_COPY, false);
    EXPECT_FALSE(frame->menuAction(ID_PROFILE_COPY)->isEnabled());
    EXPECT_FALSE(frame->toolButtonAction(ID_PROFILE_COPY)->isEnabled());
}

TEST_F(MainFrameTest, CtrlPPrintsAndCtrlXClosesTheWindow) {
    auto frame = makeFrame(temp.path());
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    int prints = 0;
    frame->setCommandHandler(ID_FILE_PRINT, [&] { ++prints; });
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prints, 1);
    QTest::keyClick(frame.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(std::filesystem::exists(temp.file("quorrel.dat"))) << "saved on the way out";
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainFrameTest, SelectedProfileIsTheOneNamedInTheFirstSelectedRow) {
    auto frame = makeFrame(temp.path());
    const IpProfile a = test::dhcpProfile("사무실");
    const IpProfile b = test::dhcpProfile("집");
    frame->profiles().profileList.append(a);
    frame->profiles().profileList.append(b);

    auto* view = qobject_cast<CTessupView*>(frame->centralWidget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame->GetSelectedProfile(), nullptr) << "no rows";

    const IpProfile stranger = test::dhcpProfile("없는 이름");
    ProfileList shown;
    shown.append(b);
    shown.append(a);
    shown.append(stranger);
    view->RefreshList(shown);  // rows sorted by name: 사무실, 없는 이름, 집
    view->selectionModel()->clearSelection();
    EXPECT_EQ(frame->GetSelectedProfile(), nullptr) << "nothing selected";

    const auto selectRow = [view](int row) {
        view->selectionModel()->select(
            view->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    selectRow(1);
    EXPECT_EQ(frame->GetSelectedProfile(), nullptr) << "a row whose name is not in the list";
    selectRow(0);
    IpProfile* selected = frame->GetSelectedProfile();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected, frame->profiles().profileList.findByName("사무실"))
        << "the list's own record";
}

TEST_F(MainFrameTest, OpenUrlHandsTheAddressToTheBrowser) {
    auto frame = makeFrame(temp.path());
    frame->OpenUrl("http://www.varnok.example/quorrel");
    EXPECT_EQ(urls.opened, std::vector<std::string>{"http://www.varnok.example/quorrel"});
}

TEST_F(MainFrameTest, StartUpBacksUpAndLoadsTheDataFile) {
    // 집 is C1 FD in CP949.
    const std::string bytes =
        "\xC1\xFD||TRUE||||||||TRUE||||\r\nlab||FALSE||10.0.0.5||255.0.0.0||||FALSE||10.0.0.1||"
        "\r\n";
    test::writeFileBytes(temp.file("quorrel.dat"), bytes);
    test::writeFileBytes(temp.file("quorrel.bak"), "an old backup");
    auto frame = makeFrame(temp.path());
    EXPECT_EQ(frame->profiles().installFolder, temp.path());
    EXPECT_EQ(test::readFileBytes(temp.file("quorrel.bak")), bytes);
    ASSERT_EQ(frame->profiles().profileList.size(), 2u);
    EXPECT_EQ(frame->profiles().profileList.begin()->name, "집");
    EXPECT_EQ(frame->profiles().profilesModified, 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainFrameTest, AnInstallFolderWithoutItsSeparatorStillHoldsTheDataFile) {
    std::string folder = temp.path();
    folder.pop_back();
    auto frame = makeFrame(folder);
    EXPECT_EQ(frame->profiles().installFolder, temp.path());
    ASSERT_TRUE(frame->close());
    EXPECT_TRUE(std::filesystem::exists(temp.file("quorrel.dat")));
}

TEST_F(MainFrameTest, ClosingAlwaysRewritesTheDataFile) {
    auto frame = makeFrame(temp.path());
    frame->show();
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(test::readFileBytes(temp.file("quorrel.dat")), "") << "written although unchanged";
    EXPECT_TRUE(prompter.messages.empty());

    auto second = makeFrame(temp.path());
    second->profiles().profileList.append(test::dhcpProfile("집"));
    second->profiles().profilesModified = 1;
    second->show();
    second->menuAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(second->profiles().profilesModified, 0);
    EXPECT_EQ(test::readFileBytes(temp.file("quorrel.dat")), "\xC1\xFD||TRUE||||||||TRUE||||\r\n");
}

TEST_F(MainFrameTest, AFailedSaveOnClosingAsksAndNoKeepsTheWindowOpen) {
    // Cannot be written into; it ends in the system's separator, as the program's folders do.
    const std::string folder = temp.file("missing") + temp.path().back();
    auto frame = makeFrame(folder);
    frame->profiles().profileList.append(test::dhcpProfile("집"));
    frame->profiles().profilesModified = 1;
    frame->show();

    prompter.answers.push_back(MessageResult::No);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(prompter.messages.size(), 1u);
    const Message& asked = prompter.messages[0];
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.caption, "Quorrel v2.1.1");
    EXPECT_NE(asked.text.find(folder + "quorrel.dat"), std::string::npos) << asked.text;
    EXPECT_NE(asked.text.find(texts::kSaveFailedOnCloseQuestion), std::string::npos);
    EXPECT_EQ(frame->profiles().profilesModified, 1);

    prompter.answers.push_back(MessageResult::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(MainFrameTest, AFailedSaveAfterACommandIsReportedWithTheFileName) {
    const std::string folder = temp.file("missing") + temp.path().back();
    auto frame = makeFrame(folder);
    frame->profiles().profilesModified = 1;
    EXPECT_EQ(frame->profiles().saveProfiles(), 0);
    EXPECT_EQ(frame->profiles().profilesModified, 1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(prompter.messages[0].text.find(folder + "quorrel.dat"), std::string::npos);

    auto good = makeFrame(temp.path());
    good->profiles().profilesModified = 1;
    EXPECT_EQ(good->profiles().saveProfiles(), 1);
    EXPECT_EQ(good->profiles().profilesModified, 0);
    EXPECT_EQ(prompter.messages.size(), 1u);
}

}  // namespace
}  // namespace quorrel
