#include <gtest/gtest.h>

#include "listview/ListViewState.h"
#include "listview/ProfileRows.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;

std::vector<std::string> column(const std::vector<ProfileRow>& rows, std::size_t c) {
    std::vector<std::string> texts;
    for (const auto& row : rows) {
        texts.push_back(row.cells[c]);
    }
    return texts;
}

TEST(ProfileRows, CellsShowDhcpWhateverIsStoredAndEmptyTextsAsEmptyCells) {
    // Held directly (not through the list), so the address texts are still there.
    IpProfile stored = fixedProfile("a", "10.0.0.1").dns("1.1.1.1");
    stored.useDhcp = 1;
    const ProfileRow dhcp = makeProfileRow(stored);
    EXPECT_EQ(dhcp.cells[1], "- DHCP -");
    EXPECT_EQ(dhcp.cells[2], "- DHCP -");
    EXPECT_EQ(dhcp.cells[3], "- DHCP -");
    EXPECT_EQ(dhcp.cells[4], "1.1.1.1");
    EXPECT_EQ(dhcp.cells[5], "");

    stored.dnsAuto = 1;
    stored.isCurrent = 1;
    const ProfileRow automatic = makeProfileRow(stored);
    EXPECT_EQ(automatic.cells[4], "- DHCP -");
    EXPECT_EQ(automatic.cells[5], "- DHCP -");
    EXPECT_TRUE(automatic.checked);

    const ProfileRow fixed = makeProfileRow(fixedProfile("b", "10.0.0.2"));
    EXPECT_EQ(fixed.cells[0], "b");
    EXPECT_EQ(fixed.cells[1], "10.0.0.2");
    EXPECT_EQ(fixed.cells[3], "");
    EXPECT_FALSE(fixed.checked);
}

TEST(ProfileRows, ColumnsHaveTheirHeadingsAndWidths) {
    const auto& columns = listColumns();
    EXPECT_STREQ(columns[0].heading, "이름");
    EXPECT_EQ(columns[0].width, 170);
    EXPECT_STREQ(columns[3].heading, "기본 게이트 웨이");
    EXPECT_STREQ(columns[5].heading, "보조 DNS 서버");
    for (std::size_t i = 1; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].width, 110);
    }
}

TEST(ProfileRows, AddressesSortAsTextAndEqualTextsKeepTheirOrder) {
    ProfileList list;
    list.append(fixedProfile("x", "9.0.0.1"));
    list.append(fixedProfile("y", "10.0.0.1"));
    list.append(dhcpProfile("z"));
    list.append(fixedProfile("w", "10.0.0.1"));
    auto rows = makeProfileRows(list);

    const auto order = sortProfileRows(rows, 1, true);
    EXPECT_EQ(column(rows, 1),
              (std::vector<std::string>{"- DHCP -", "10.0.0.1", "10.0.0.1", "9.0.0.1"}));
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"z", "y", "w", "x"}));
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 3, 0}));

    sortProfileRows(rows, 0, false);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"z", "y", "x", "w"}));
}

TEST(ProfileRows, EveryRowLandsWhereTheOrderSaysWhateverItsCycles) {
    // Names whose order splits into cycles of several lengths, a fixed point among them.
    const std::vector<std::string> names = {"g", "c", "a", "d", "b", "f", "e", "h"};
    ProfileList list;
    for (const std::string& name : names) {
        list.append(fixedProfile(name, "10.0.0." + name));
    }
    auto rows = makeProfileRows(list);
    const auto order = sortProfileRows(rows, 0, true);
    EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h"}));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].cells[0], names[order[i]]);
        EXPECT_EQ(rows[i].cells[1], "10.0.0." + rows[i].cells[0]);
    }
}

TEST(ListViewState, HeaderClicksToggleTheSameColumnAndStartOthersAscending) {
    ListViewState state;
    EXPECT_EQ(state.sortColumn(), 0);
    EXPECT_TRUE(state.sortAscending());

    state.sortHook(0);  // first click on column 0 after start: descending
    EXPECT_FALSE(state.sortAscending());

    state.sortHook(3);
    EXPECT_EQ(state.sortColumn(), 3);
    EXPECT_TRUE(state.sortAscending());
    state.sortHook(3);
    EXPECT_FALSE(state.sortAscending());
    state.sortHook(0);
    EXPECT_EQ(state.sortColumn(), 0);
    EXPECT_TRUE(state.sortAscending());
}

TEST(ListViewState, ResortKeepsColumnAndDirection) {
    ListViewState state;
    state.sortHook(2);
    state.sortHook(2);
    EXPECT_EQ(state.resort(), 2);
    EXPECT_EQ(state.sortColumn(), 2);
    EXPECT_FALSE(state.sortAscending());
}

TEST(ListViewState, SelectionPositionAfterRefresh) {
    ListViewState state;
    // First fill: row 0 whatever was selected.
    EXPECT_EQ(state.rememberPosition(3), 0);
    EXPECT_EQ(state.positionToSelect(0, 5), 0);
    EXPECT_EQ(state.positionToSelect(0, 0), -1);
    state.markInitialized();

    // Later fills keep the position; none selected means position 0.
    EXPECT_EQ(state.rememberPosition(-1), 0);
    EXPECT_EQ(state.positionToSelect(state.rememberPosition(2), 5), 2);
    // The selected last row was deleted: the new last row.
    EXPECT_EQ(state.positionToSelect(state.rememberPosition(4), 4), 3);
    // A middle row was deleted: the row that moved into its place.
    EXPECT_EQ(state.positionToSelect(state.rememberPosition(1), 3), 1);
    // The only row was deleted: nothing to select.
    EXPECT_EQ(state.positionToSelect(state.rememberPosition(0), 0), -1);
}

}  // namespace
}  // namespace quorrel
