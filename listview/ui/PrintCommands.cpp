#include "listview/ui/PrintCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "base/MessagePresenter.h"
#include "base/ui/Prompter.h"
#include "listview/PrintPages.h"
#include "listview/PrinterCount.h"
#include "listview/PrinterInventory.h"
#include "listview/ui/CTessupView.h"
#include "listview/ui/ProfilePrinter.h"
#include "listview/ui/QtPrinterInventory.h"
#include "resources/ListTexts.h"

namespace quorrel {

namespace {

// One of the preview's own buttons, found by the text Qt gives it (in the language of the
// installed catalogue).
QAction* previewAction(QPrintPreviewDialog& dialog, const char* source) {
    const QString text = QCoreApplication::translate("QPrintPreviewDialog", source);
    for (QAction* action : dialog.findChildren<QAction*>()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

// The list is laid out for A4 portrait only: turned to landscape (or given another page
// in the page set-up) the table runs off the page and loses its footer. The preview
// offers neither.
void keepPortrait(QPrintPreviewDialog& dialog) {
    for (const char* source : {"Portrait", "Landscape", "Page setup"}) {
        if (QAction* action = previewAction(dialog, source)) {
            action->setEnabled(false);
            action->setVisible(false);
        }
    }
}

}  // namespace

PrintCommands::PrintCommands(CTessupView& view) : view_(view) {}

PrintCommands::~PrintCommands() = default;

void PrintCommands::setServices(PrintServices services) {
    services_ = std::move(services);
}

QPrinter& PrintCommands::printer() {
    if (services_.printer != nullptr) {
        return *services_.printer;
    }
    if (!ownPrinter_) {
        ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *ownPrinter_;
}

bool PrintCommands::printerInstalled() {
    const PrinterInventory* inventory = services_.printers;
    if (inventory == nullptr) {
        if (!ownInventory_) {
            ownInventory_ = std::make_unique<QtPrinterInventory>();
        }
        inventory = ownInventory_.get();
    }
    if (CountInstalledPrinters(*inventory) != 0) {
        return true;
    }
    if (services_.prompter != nullptr) {
        services_.prompter->show(standardMessage(print::noPrinterMessage()));
    }
    return false;
}

std::vector<print::PrintRow> PrintCommands::viewRows() const {
    // The cells as the list shows them now, in its sort order; columns by their logical
    // index, whatever order the headers were dragged into.
    std::vector<print::PrintRow> rows;
    const int count = view_.rowCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        print::PrintRow cells;
        for (int column = 0; column < print::kPrintColumnCount; ++column) {
            cells[static_cast<std::size_t>(column)] = view_.cellText(row, column);
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool PrintCommands::forceA4Portrait(QPrinter& target) {
    if (!target.isValid()) {
        return false;
    }
    const QPageLayout layout = target.pageLayout();
    view_.savedPaperSize = layout.pageSize();
    view_.savedOrientation = layout.orientation();
    savedFullPage_ = target.fullPage();
    target.setPageSize(QPageSize(QPageSize::A4));
    target.setPageOrientation(QPageLayout::Portrait);
    // (0, 0) is the corner of the sheet.
    target.setFullPage(true);
    return true;
}

void PrintCommands::restorePaper(QPrinter& target) {
    if (!target.isValid()) {
        return;
    }
    target.setFullPage(savedFullPage_);
    target.setPageSize(view_.savedPaperSize);
    target.setPageOrientation(view_.savedOrientation);
}

void PrintCommands::PrintProfileList() {
    QPrinter& target = printer();
    if (!printerInstalled()) {
        return;
    }
    const int rowCount = view_.rowCount();
    view_.totalPages = print::totalPages(rowCount);

    // A new dialog every time: all pages chosen, the range preset to the whole list.
    target.setDocName(QString::fromUtf8(texts::kPrintDocumentName));
    target.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&target, &view_);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, view_.totalPages);
    dialog.setFromTo(1, view_.totalPages);
    if (services_.prompter == nullptr ||
        services_.prompter->runModal(dialog) != QDialog::Accepted) {
        return;
    }

    int first = 0;
    int last = 0;
    if (target.printRange() == QPrinter::PageRange) {
        first = target.fromPage();
        last = target.toPage();
    }
    const print::PrintJob job =
        print::makePrintJob(print::PrintRoute::PrintCommand, rowCount, first, last);

    if (!forceA4Portrait(target)) {
        return;
    }
    QPainter painter;
    if (painter.begin(&target)) {
        if (logo_.isNull()) {
            logo_ = printLogo();
        }
        const ProfilePrinter pages(print::PrintRoute::PrintCommand, logo_);
        const std::vector<print::PrintRow> rows = viewRows();
        bool started = false;
        for (int page = job.firstPage; page <= job.lastPage; ++page) {
            // A page the printer cannot start is left out; the others still print.
            if (started && !target.newPage()) {
                continue;
            }
            started = true;
            pages.paintPage(painter, print::layoutPage(job, page, rows));
        }
        painter.end();
    }
    restorePaper(target);
}

bool PrintCommands::OnPreparePrinting(PrintInfo& info) {
    if (!printerInstalled()) {
        return false;
    }
    view_.totalPages = print::totalPages(view_.rowCount());
    info.minPage = 1;
    info.maxPage = view_.totalPages;
    return true;
}

void PrintCommands::OnBeginPrinting(QPrinter& target, PrintInfo&) {
    if (!forceA4Portrait(target)) {
        return;
    }
    if (services_.showMenuBar) {
        services_.showMenuBar(0);
    }
}

void PrintCommands::OnPrint(QPainter& painter, PrintInfo& info) {
    if (logo_.isNull()) {
        logo_ = printLogo();
    }
    const int rowCount = view_.rowCount();
    const print::PrintJob job = print::makePrintJob(print::PrintRoute::Framework, rowCount,
                                                    info.currentPage, info.currentPage);
    const ProfilePrinter pages(print::PrintRoute::Framework, logo_);
    pages.paintPage(painter, print::layoutPage(job, info.currentPage, viewRows()));
}

void PrintCommands::OnEndPrinting(QPrinter& target, PrintInfo&) {
    if (!target.isValid()) {
        return;
    }
    restorePaper(target);
    if (services_.showMenuBar) {
        services_.showMenuBar(1);
    }
}

void PrintCommands::printThroughHooks(QPrinter& target, PrintInfo& info) {
    QPainter painter;
    if (!painter.begin(&target)) {
        return;
    }
    for (int page = info.minPage; page <= info.maxPage; ++page) {
        if (page > info.minPage && !target.newPage()) {
            continue;
        }
        info.currentPage = page;
        OnPrint(painter, info);
    }
    painter.end();
}

void PrintCommands::OnFilePrintPreview() {
    PrintInfo info;
    info.preview = true;
    if (!OnPreparePrinting(info)) {
        return;
    }
    QPrinter& target = printer();
    target.setDocName(QString::fromUtf8(texts::kPrintDocumentName));
    QPrintPreviewDialog dialog(&target, &view_);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this, &info](QPrinter* device) { printThroughHooks(*device, info); });
    // The preview's print button closes the preview and hands the list to the print
    // command, with its own dialog and page range.
    bool printRequested = false;
    keepPortrait(dialog);
    if (QAction* print = previewAction(dialog, "Print")) {
        QObject::disconnect(print, nullptr, &dialog, nullptr);
        QObject::connect(print, &QAction::triggered, &dialog, [&dialog, &printRequested] {
            printRequested = true;
            dialog.accept();
        });
    }

    OnBeginPrinting(target, info);
    if (services_.prompter != nullptr) {
        services_.prompter->runModal(dialog);
    }
    OnEndPrinting(target, info);

    if (printRequested) {
        PrintProfileList();
    }
}

void PrintCommands::OnFilePrintDirect() {
    PrintInfo info;
    if (!OnPreparePrinting(info)) {
        return;
    }
    QPrinter& target = printer();
    target.setDocName(QString::fromUtf8(texts::kPrintDocumentName));
    OnBeginPrinting(target, info);
    printThroughHooks(target, info);
    OnEndPrinting(target, info);
}

}  // namespace quorrel
