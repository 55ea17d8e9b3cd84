#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <vector>

#include "listview/PrintLayout.h"

class QPainter;
class QPrinter;

namespace quorrel {

class CTessupView;
class Prompter;
class PrinterInventory;

// What printing needs from outside the view. Without a printer list or a printer the
// system's are used.
struct PrintServices {
    Prompter* prompter = nullptr;
    const PrinterInventory* printers = nullptr;
    // The application's printer: its choice and settings carry over from job to job.
    QPrinter* printer = nullptr;
    // The main frame's ShowMenuBar: 1 shows the menu bar, 0 hides it.
    std::function<void(int)> showMenuBar;
};

// What the framework route hands from hook to hook.
struct PrintInfo {
    bool preview = false;
    int minPage = 1;
    int maxPage = 1;
    int currentPage = 1;
};

// The view's two ways of printing its rows. The print command asks for the printer and
// the pages in a print dialog and draws them itself; the framework route (print preview,
// and printing without a dialog) goes through the print hooks. Both force A4 portrait on
// the printer for the job and put its own paper size and orientation back afterwards.
class PrintCommands {
public:
    explicit PrintCommands(CTessupView& view);
    ~PrintCommands();
    PrintCommands(const PrintCommands&) = delete;
    PrintCommands& operator=(const PrintCommands&) = delete;

    void setServices(PrintServices services);
    QPrinter& printer();

    // ID_FILE_PRINT: the print dialog, then the chosen pages.
    void PrintProfileList();
    // ID_FILE_PRINT_PREVIEW: the print preview. Its print button closes it and runs
    // ID_FILE_PRINT.
    void OnFilePrintPreview();
    // ID_FILE_PRINT_DIRECT: every page through the hooks on the current printer, no dialog.
    void OnFilePrintDirect();

    // The print hooks of the framework route.
    bool OnPreparePrinting(PrintInfo& info);
    void OnBeginPrinting(QPrinter& printer, PrintInfo& info);
    void OnPrint(QPainter& painter, PrintInfo& info);
    void OnEndPrinting(QPrinter& printer, PrintInfo& info);

private:
    // Shows the no-printer message when no printer is installed; returns whether one is.
    bool printerInstalled();
    std::vector<print::PrintRow> viewRows() const;
    // Saves the printer's paper size and orientation on the view and sets A4 portrait;
    // false when the printer cannot be set up.
    bool forceA4Portrait(QPrinter& printer);
    void restorePaper(QPrinter& printer);
    // The framework route's pages, from the first to maxPage.
    void printThroughHooks(QPrinter& printer, PrintInfo& info);

    CTessupView& view_;
    PrintServices services_;
    std::unique_ptr<PrinterInventory> ownInventory_;
    std::unique_ptr<QPrinter> ownPrinter_;
    QImage logo_;
    bool savedFullPage_ = false;
};

}  // namespace quorrel
