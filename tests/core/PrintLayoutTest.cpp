#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "listview/PrintLayout.h"
#include "listview/PrinterCount.h"
#include "resources/ListTexts.h"

namespace quorrel::print {
namespace {

std::vector<PrintRow> makeRows(int count) {
    std::vector<PrintRow> rows;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        rows.push_back({"row" + n, "10.0.0." + n, "mask" + n, "gw" + n, "dns" + n, "dns2-" + n});
    }
    return rows;
}

template <typename Op>
std::vector<Op> opsOf(const std::vector<DrawOp>& ops) {
    std::vector<Op> result;
    for (const auto& op : ops) {
        if (const auto* typed = std::get_if<Op>(&op)) {
            result.push_back(*typed);
        }
    }
    return result;
}

const TextOp* findText(const std::vector<DrawOp>& ops, const std::string& text) {
    for (const auto& op : ops) {
        const auto* t = std::get_if<TextOp>(&op);
        if (t != nullptr && t->text == text) {
            return t;
        }
    }
    return nullptr;
}

// The rows a page prints, by their column-0 texts.
std::vector<std::string> printedNames(const std::vector<DrawOp>& ops) {
    std::vector<std::string> names;
    for (const auto& t : opsOf<TextOp>(ops)) {
        if (t.x == 125) {
            names.push_back(t.text);
        }
    }
    return names;
}

TEST(PrintPages, PageCountLeavesRoomForTheTitleOnPageOne) {
    EXPECT_EQ(totalPages(0), 1);
    EXPECT_EQ(totalPages(1), 1);
    EXPECT_EQ(totalPages(51), 1);
    EXPECT_EQ(totalPages(52), 2);
    EXPECT_EQ(totalPages(105), 2);
    EXPECT_EQ(totalPages(106), 3);
    EXPECT_EQ(totalPages(159), 3);
    EXPECT_EQ(totalPages(160), 4);
}

TEST(PrintPages, FramesOfFirstAndLaterPages) {
    const PageFrame first = pageFrame(1);
    EXPECT_EQ(first.top, -285);
    EXPECT_EQ(first.capacity, 51);
    EXPECT_EQ(first.firstRow, 0);
    const PageFrame second = pageFrame(2);
    EXPECT_EQ(second.top, -150);
    EXPECT_EQ(second.capacity, 54);
    EXPECT_EQ(second.firstRow, 51);
    EXPECT_EQ(pageFrame(3).firstRow, 105);
}

TEST(PrintPages, RowsPerPageAtTheBorders) {
    const struct {
        int rows;
        std::vector<int> counts;
    } cases[] = {{0, {0}}, {51, {51}}, {52, {51, 1}}, {105, {51, 54}}, {106, {51, 54, 1}}};
    for (const auto& item : cases) {
        for (PrintRoute route : {PrintRoute::PrintCommand, PrintRoute::Framework}) {
            const PrintJob job = makePrintJob(route, item.rows);
            ASSERT_EQ(job.totalPages, static_cast<int>(item.counts.size())) << item.rows;
            int next = 0;
            for (int page = 1; page <= job.totalPages; ++page) {
                const PageRows span = rowsOnPage(job, page, item.rows);
                EXPECT_EQ(span.first, next) << item.rows << " rows, page " << page;
                EXPECT_EQ(span.count, item.counts[static_cast<std::size_t>(page - 1)])
                    << item.rows << " rows, page " << page;
                next += span.count;
            }
            EXPECT_EQ(next, item.rows);
        }
    }
}

TEST(PrintPages, ChosenRangeLimitsThePagesAndIsCutToTheList) {
    const PrintJob all = makePrintJob(PrintRoute::PrintCommand, 106, 0, 0);
    EXPECT_EQ(all.firstPage, 1);
    EXPECT_EQ(all.lastPage, 3);
    const PrintJob middle = makePrintJob(PrintRoute::PrintCommand, 106, 2, 2);
    EXPECT_EQ(rowsOnPage(middle, 1, 106).count, 0);
    EXPECT_EQ(rowsOnPage(middle, 2, 106).count, 54);  // a full page, though it is the last chosen
    EXPECT_EQ(rowsOnPage(middle, 3, 106).count, 0);
    const PrintJob beyond = makePrintJob(PrintRoute::PrintCommand, 52, 2, 9);
    EXPECT_EQ(beyond.lastPage, 2);
}

TEST(PrintLayout, EmptyListGivesOnePageWithTitleAndRulesEndingUnderTheHeadings) {
    const std::vector<PrintRow> rows;
    const PrintJob job = makePrintJob(PrintRoute::PrintCommand, 0);
    const auto ops = layoutPage(job, 1, rows);

    const auto logos = opsOf<LogoOp>(ops);
    ASSERT_EQ(logos.size(), 1u);
    EXPECT_EQ(logos[0], (LogoOp{1510, -200, 340, -93, 511, 140}));
    const TextOp* title = findText(ops, "IP 설정 리스트");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font, FontRole::Title);
    EXPECT_EQ(title->align, TextAlign::Centre);
    EXPECT_EQ(title->x, 975);
    EXPECT_EQ(title->y, -150);

    const char* headings[] = {"이름",          "IP 주소",      "서브넷 주소", "게이트 웨이 주소",
                              "기본 DNS 서버", "보조 DNS 서버"};
    const int centres[] = {275, 590, 870, 1150, 1430, 1710};
    for (int i = 0; i < 6; ++i) {
        const TextOp* heading = findText(ops, headings[i]);
        ASSERT_NE(heading, nullptr) << headings[i];
        EXPECT_EQ(heading->x, centres[i]);
        EXPECT_EQ(heading->y, -295);
        EXPECT_EQ(heading->align, TextAlign::Centre);
        EXPECT_EQ(heading->font, FontRole::Body);
    }

    const std::vector<LineOp> expectedLines{
        {100, -285, 1850, -285},  {100, -330, 1850, -330},  {100, -285, 100, -330},
        {1850, -285, 1850, -330}, {450, -285, 450, -330},   {730, -285, 730, -330},
        {1010, -285, 1010, -330}, {1290, -285, 1290, -330}, {1570, -285, 1570, -330}};
    EXPECT_EQ(opsOf<LineOp>(ops), expectedLines);

    const TextOp* footer = findText(ops, "- 1/1 -");
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->y, -2700);
    EXPECT_EQ(footer->x, 975);
    EXPECT_TRUE(printedNames(ops).empty());
}

TEST(PrintLayout, FullFirstPagePlacesRowsAndRules) {
    const auto rows = makeRows(51);
    const PrintJob job = makePrintJob(PrintRoute::PrintCommand, 51);
    const auto ops = layoutPage(job, 1, rows);

    const TextOp* first = findText(ops, "row0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, -285 - 55);
    EXPECT_EQ(first->align, TextAlign::Left);
    const TextOp* last = findText(ops, "row50");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->y, -285 - 55 - 45 * 50);
    EXPECT_EQ(findText(ops, rows[50][5])->x, 1595);
    EXPECT_EQ(findText(ops, rows[50][5])->y, last->y);

    const auto lines = opsOf<LineOp>(ops);
    const int bottom = -285 - 90 - 45 * 50;
    // Two rules around the headings, one under each row, seven vertical rules.
    ASSERT_EQ(lines.size(), 2u + 51u + 7u);
    EXPECT_EQ(lines[2], (LineOp{100, -375, 1850, -375}));
    EXPECT_EQ(lines[52], (LineOp{100, bottom, 1850, bottom}));
    for (std::size_t i = 53; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].y1, -285);
        EXPECT_EQ(lines[i].y2, bottom);
        EXPECT_EQ(lines[i].x1, lines[i].x2);
    }
    EXPECT_EQ(findText(ops, "- 1/1 -")->y, -2700);
}

TEST(PrintLayout, LaterPagesOfAThreePageListHaveNoTitleAndNumberTheirFooters) {
    const auto rows = makeRows(106);
    const PrintJob job = makePrintJob(PrintRoute::PrintCommand, 106, 2, 3);

    const auto page2 = layoutPage(job, 2, rows);
    EXPECT_TRUE(opsOf<LogoOp>(page2).empty());
    EXPECT_EQ(findText(page2, "IP 설정 리스트"), nullptr);
    EXPECT_NE(findText(page2, "- 2/3 -"), nullptr);
    const auto names2 = printedNames(page2);
    ASSERT_EQ(names2.size(), 54u);
    EXPECT_EQ(names2.front(), "row51");
    EXPECT_EQ(names2.back(), "row104");
    EXPECT_EQ(findText(page2, "row51")->y, -150 - 55);
    EXPECT_EQ(opsOf<LineOp>(page2).front(), (LineOp{100, -150, 1850, -150}));

    const auto page3 = layoutPage(job, 3, rows);
    EXPECT_TRUE(opsOf<LogoOp>(page3).empty());
    EXPECT_NE(findText(page3, "- 3/3 -"), nullptr);
    EXPECT_EQ(printedNames(page3), std::vector<std::string>{"row105"});
    const auto lines3 = opsOf<LineOp>(page3);
    EXPECT_EQ(lines3.back(), (LineOp{1570, -150, 1570, -240}));
}

TEST(PrintLayout, RowsFollowTheGivenDisplayOrder) {
    auto rows = makeRows(3);
    std::reverse(rows.begin(), rows.end());
    const auto ops = layoutPage(makePrintJob(PrintRoute::Framework, 3), 1, rows);
    EXPECT_EQ(printedNames(ops), (std::vector<std::string>{"row2", "row1", "row0"}));
}

TEST(Printers, AddPrinterEntryIsNotCountedByItsExactName) {
    EXPECT_EQ(countInstalledPrinters({}), 0);
    EXPECT_EQ(countInstalledPrinters({"프린터 추가"}), 0);
    EXPECT_EQ(countInstalledPrinters({"프린터 추가", "HP LaserJet", "PDF"}), 2);
    EXPECT_EQ(countInstalledPrinters({"Add Printer"}), 1);
    EXPECT_EQ(countInstalledPrinters({"프린터 추가 "}), 1);
}

TEST(Printers, NoPrinterMessageJoinsItsThreeParts) {
    EXPECT_EQ(noPrinterMessage(),
              "설치된 프린터가 없습니다. 프린터를 먼저 설치해 주십시오.\n\n"
              "설치하려면 [시작]을 누르고 설정을 가리킨 후\n\n"
              "[프린터]를 누른 다음 [프린터 추가]를 2번 누르십시오.");
}

}  // namespace
}  // namespace quorrel::print
