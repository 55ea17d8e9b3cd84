#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "base/CommandIds.h"
#include "listview/CTessupDoc.h"
#include "listview/ui/CTessupView.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;

class ListViewTest : public ::testing::Test {
protected:
    ListViewTest() : view(&document) { view.resize(800, 300); }

    std::vector<QString> column(int c) const {
        std::vector<QString> texts;
        for (int row = 0; row < view.rowCount(); ++row) {
            texts.push_back(QString::fromStdString(view.cellText(row, c)));
        }
        return texts;
    }

    QString selectedName() const {
        const int row = view.firstSelectedRow();
        return row < 0 ? QString() : QString::fromStdString(view.cellText(row, 0));
    }

    void clickHeader(int column) {
        QHeaderView* header = view.horizontalHeader();

        const int x = header->sectionViewportPosition(column) + 10;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // The header as painted, and as it would be without the sort arrow.
    bool headerPaintsTheArrow() {
        QHeaderView* header = view.horizontalHeader();
        const QImage shown = header->grab().toImage();
        header->setSortIndicatorShown(false);
        const QImage hidden = header->grab().toImage();
        header->setSortIndicatorShown(true);
        return header->isSortIndicatorShown() && shown != hidden;
    }

    CTessupDoc document;
    CTessupView view;
    ProfileList profiles;
};

TEST_F(ListViewTest, ColumnsCellsCheckMarkAndTheFirstFillSelection) {
    profiles.append(fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1"));
    IpProfile home = dhcpProfile("집");
    home.isCurrent = 1;
    profiles.append(home);
    profiles.append(fixedProfile("Lab", "10.0.0.5"));
    QSignalSpy refreshed(&view, &CTessupView::listRefreshed);
    view.OnInitialUpdate(profiles);

    ASSERT_EQ(view.model()->columnCount(), 6);
    EXPECT_EQ(view.model()->headerData(2, Qt::Horizontal).toString(), "서브넷 마스크");
    EXPECT_EQ(view.horizontalHeader()->sectionSize(0), 170);
    EXPECT_EQ(view.horizontalHeader()->sectionSize(5), 110);
    EXPECT_TRUE(view.horizontalHeader()->sectionsMovable());
    EXPECT_TRUE(view.showGrid());

    // Sorted by name ascending (byte order: Latin before Hangul).
    EXPECT_EQ(column(0), (std::vector<QString>{"Lab", "사무실", "집"}));
    EXPECT_EQ(column(1), (std::vector<QString>{"10.0.0.5", "192.168.0.10", "- DHCP -"}));
    EXPECT_EQ(view.cellText(2, 5), "- DHCP -");
    EXPECT_EQ(view.cellText(0, 3), "");

    // Only the row in use carries the check mark.
    const QVariant mark = view.model()->data(view.model()->index(2, 0), Qt::DecorationRole);
    EXPECT_FALSE(mark.value<QIcon>().isNull());
    EXPECT_FALSE(view.model()->data(view.model()->index(0, 0), Qt::DecorationRole).isValid());

    // The first profile of the list is selected, wherever the sort put it.
    EXPECT_EQ(selectedName(), "사무실");
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorSection(), 0);
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(refreshed.count(), 1);
}

TEST_F(ListViewTest, HeaderClicksToggleAndKeepTheSelectedProfile) {
    profiles.append(fixedProfile("b", "9.0.0.1").gateway("9.0.0.254"));
    profiles.append(fixedProfile("a", "10.0.0.1").gateway("10.0.0.254"));
    profiles.append(fixedProfile("c", "172.16.0.1").gateway("172.16.0.254"));
    view.OnInitialUpdate(profiles);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(selectedName(), "b");

    clickHeader(0);  // column 0 was ascending: now descending
    EXPECT_EQ(column(0), (std::vector<QString>{"c", "b", "a"}));
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(3);  // another column starts ascending; addresses sort as text
    EXPECT_EQ(column(3), (std::vector<QString>{"10.0.0.254", "172.16.0.254", "9.0.0.254"}));
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorSection(), 3);
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(3);
    EXPECT_EQ(column(3), (std::vector<QString>{"9.0.0.254", "172.16.0.254", "10.0.0.254"}));
    EXPECT_EQ(selectedName(), "b");

    // A refresh keeps column and direction and shows the arrow for them.
    view.RefreshList(profiles);
    EXPECT_EQ(column(0), (std::vector<QString>{"b", "c", "a"}));
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorSection(), 3);
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(ListViewTest, TheHeaderPaintsTheSortArrowAfterEveryFillAndClick) {
    profiles.append(fixedProfile("a", "10.0.0.1"));
    profiles.append(fixedProfile("b", "10.0.0.2"));
    view.OnInitialUpdate(profiles);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(headerPaintsTheArrow()) << "first fill";
    for (int column : {0, 2, 2, 5}) {
        clickHeader(column);
        EXPECT_TRUE(headerPaintsTheArrow()) << "click on column " << column;
        EXPECT_EQ(view.horizontalHeader()->sortIndicatorSection(), column);
    }
    view.RefreshList(profiles);
    EXPECT_TRUE(headerPaintsTheArrow()) << "refresh";
    EXPECT_EQ(view.horizontalHeader()->sortIndicatorSection(), 5);
}

TEST_F(ListViewTest, OnlyTheSelectedRowLooksSelected) {
    for (const char* name : {"a", "b", "c"}) {
        profiles.append(fixedProfile(name, "10.0.0.1"));
    }
    view.OnInitialUpdate(profiles);
    view.show();
    view.window()->setAttribute(Qt::WA_KeyboardFocusChange);  // focus frames drawn
    view.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    // A refresh that selects another row makes it the current row too.
    view.selectionModel()->select(view.model()->index(2, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view.RefreshList(profiles);
    EXPECT_EQ(view.firstSelectedRow(), 2);
    EXPECT_EQ(view.currentIndex().row(), 2);

    // A current row that is not selected (Qt moves it on its own ways) shows no focus
    // frame: painted with and without the focus, it looks the same.
    view.selectionModel()->setCurrentIndex(view.model()->index(0, 1),
                                           QItemSelectionModel::NoUpdate);
    const QRect row0 = view.visualRect(view.model()->index(0, 1));
    ASSERT_TRUE(view.hasFocus());
    const QImage focused = view.viewport()->grab(row0).toImage();
    view.clearFocus();
    const QImage unfocused = view.viewport()->grab(row0).toImage();
    EXPECT_EQ(focused, unfocused);
}

TEST_F(ListViewTest, SelectionAfterRefreshFollowsThePosition) {
    for (const char* name : {"a", "b", "c", "d"}) {
        profiles.append(fixedProfile(name, "10.0.0.1"));
    }
    view.OnInitialUpdate(profiles);

    // Deleting the selected last row selects the new last row.
    view.selectionModel()->select(view.model()->index(3, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    profiles.removeMatching(fixedProfile("d", "10.0.0.1"));
    view.RefreshList(profiles);
    EXPECT_EQ(selectedName(), "c");

    // Deleting a middle row selects the row that moved into its place.
    view.selectionModel()->select(view.model()->index(1, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    profiles.removeMatching(fixedProfile("b", "10.0.0.1"));
    view.RefreshList(profiles);
    EXPECT_EQ(selectedName(), "c");

    // No selected row: a refresh selects row 0.
    view.selectionModel()->clearSelection();
    view.RefreshList(profiles);
    EXPECT_EQ(view.firstSelectedRow(), 0);

    // An emptied list selects nothing.
    view.RefreshList(ProfileList{});
    EXPECT_EQ(view.rowCount(), 0);
    EXPECT_EQ(view.firstSelectedRow(), -1);
}

// The rows read the list as they are painted: an edit shows at the next paint, and a list
// that has lost a record since the last refresh shows nothing until the next one (no row
// may read a record that is gone).
TEST_F(ListViewTest, RowsReadTheListAndNeverARecordThatIsGone) {
    profiles.append(fixedProfile("a", "10.0.0.1"));
    profiles.append(fixedProfile("b", "10.0.0.2"));
    view.OnInitialUpdate(profiles);
    profiles.at(1)->ipAddress = "10.0.0.9";
    EXPECT_EQ(column(1), (std::vector<QString>{"10.0.0.1", "10.0.0.9"}));

    profiles.remove(profiles.at(0));
    EXPECT_EQ(column(0), (std::vector<QString>{"", ""}));
    EXPECT_FALSE(view.model()->data(view.model()->index(0, 0), Qt::DecorationRole).isValid());
    view.RefreshList(profiles);
    EXPECT_EQ(column(0), (std::vector<QString>{"b"}));
}

TEST_F(ListViewTest, ContextMenuOnlyWithASelectedRowAndItsCommands) {
    view.OnInitialUpdate(profiles);
    EXPECT_FALSE(view.showContextMenu(QPoint(10, 10)));  // empty list
    EXPECT_EQ(view.contextMenu(), nullptr);

    profiles.append(fixedProfile("a", "10.0.0.1"));
    view.RefreshList(profiles);
    view.selectionModel()->clearSelection();
    EXPECT_FALSE(view.showContextMenu(QPoint(10, 10)));  // no selection

    view.RefreshList(profiles);
    ASSERT_TRUE(view.showContextMenu(QPoint(10, 10)));
    QMenu* menu = view.contextMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), "복사");
    EXPECT_EQ(actions[1]->text(), "수정");
    EXPECT_EQ(actions[2]->text(), "삭제");
    EXPECT_TRUE(actions[3]->isSeparator());
    EXPECT_EQ(actions[4]->text(), "적용");

    QSignalSpy commands(&view, &CTessupView::commandRequested);
    actions[2]->trigger();
    actions[4]->trigger();
    ASSERT_EQ(commands.count(), 2);
    EXPECT_EQ(commands[0][0].toInt(), ID_POPUP_DELETE);
    EXPECT_EQ(commands[1][0].toInt(), ID_POPUP_APPLY);
    menu->close();
}

TEST_F(ListViewTest, DoubleClickAppliesOnlyWithASelectedRow) {
    view.OnInitialUpdate(profiles);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy commands(&view, &CTessupView::commandRequested);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(commands.count(), 0);

    profiles.append(fixedProfile("a", "10.0.0.1"));
    view.RefreshList(profiles);
    const QRect row = view.visualRect(view.model()->index(0, 1));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands[0][0].toInt(), ID_PROFILE_APPLY);

    // The middle and the right button's double-clicks do not apply.
    for (Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
        QTest::mouseDClick(view.viewport(), button, {}, row.center());
        EXPECT_EQ(commands.count(), 1) << "button " << button;
        if (QMenu* menu = view.contextMenu()) {
            menu->close();
        }
    }
}

}  // namespace
}  // namespace quorrel
