#include "listview/PrintPages.h"

#include <algorithm>

namespace quorrel::print {

namespace {

constexpr int kFirstPageTop = -285;
constexpr int kPageTop = -150;

}  // namespace

int totalPages(int rowCount) {
    const int slots = std::max(rowCount, 0) + (kPageRows - kFirstPageRows);
    return std::max(1, slots / kPageRows + (slots % kPageRows != 0 ? 1 : 0));
}

PageFrame pageFrame(int page) {
    if (page <= 1) {
        return PageFrame{kFirstPageTop, kFirstPageRows, 0};
    }
    // Page 1 and the full pages between it and this one come first: (page * 54) - 57.
    return PageFrame{kPageTop, kPageRows, kFirstPageRows + (page - 2) * kPageRows};
}

PrintJob makePrintJob(PrintRoute route, int rowCount, int chosenFirst, int chosenLast) {
    PrintJob job;
    job.route = route;
    job.totalPages = totalPages(rowCount);
    if (chosenFirst <= 0 && chosenLast <= 0) {
        job.firstPage = 1;
        job.lastPage = job.totalPages;
    } else {
        job.firstPage = std::clamp(chosenFirst, 1, job.totalPages);
        job.lastPage = std::clamp(chosenLast, 1, job.totalPages);
    }
    return job;
}

PageRows rowsOnPage(const PrintJob& job, int page, int rowCount) {
    const PageFrame frame = pageFrame(page);
    if (page < job.firstPage || page > job.lastPage) {
        return PageRows{frame.firstRow, 0};
    }
    const int remaining = std::max(rowCount - frame.firstRow, 0);
    // The print command stops at the list's end on its last chosen page, the framework
    // route on page totalPages; every other page is full by the page count's arithmetic.
    // Chosen pages never lie beyond totalPages (makePrintJob), so both come down to the
    // same bound, which also keeps any page from reading past the list.
    return PageRows{frame.firstRow, std::min(frame.capacity, remaining)};
}

}  // namespace quorrel::print
