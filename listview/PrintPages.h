#pragma once

namespace quorrel::print {

// Page 1 holds three rows fewer than the others: it also carries the title and the logo.
inline constexpr int kFirstPageRows = 51;
inline constexpr int kPageRows = 54;

// The two ways the list is printed. They differ in their fonts and in which page stops at
// the end of the list.
enum class PrintRoute {
    PrintCommand,  // the print command with its own print dialog
    Framework,     // print preview, and printing through the preview's hooks
};

// Number of pages for a list of `rowCount` rows; an empty list still prints one page.
int totalPages(int rowCount);

// Where a page starts: the y of its first ruled line (0.1 mm, negative downwards), how
// many rows it holds and the index of its first row. Pages count from 1.
struct PageFrame {
    int top = 0;
    int capacity = 0;
    int firstRow = 0;
};
PageFrame pageFrame(int page);

// One print job: its page count and the pages chosen (both inclusive).
struct PrintJob {
    PrintRoute route = PrintRoute::PrintCommand;
    int totalPages = 1;
    int firstPage = 1;
    int lastPage = 1;
};

// A job over the whole list with the chosen pages. A print dialog that reports no choice
// (0 and 0, "all pages") gives 1 to totalPages; a choice beyond the list is cut back.
PrintJob makePrintJob(PrintRoute route, int rowCount, int chosenFirst = 0, int chosenLast = 0);

// The rows that one page of the job prints: from `first`, `count` of them.
struct PageRows {
    int first = 0;
    int count = 0;
};

// A page fills up to its capacity and stops at the end of the list. The page that checks
// the end is the last chosen page for the print command and page totalPages for the
// framework route; as every page before the last is full, both print the same rows.
// A page outside the chosen range prints nothing.
PageRows rowsOnPage(const PrintJob& job, int page, int rowCount);

}  // namespace quorrel::print
