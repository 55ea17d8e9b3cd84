#include <gtest/gtest.h>

#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <filesystem>
#include <memory>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/UrlOpener.h"
#include "listview/CTessupDoc.h"
#include "listview/CTessupView.h"
#include "listview/PrintWiring.h"
#include "listview/PrinterInventory.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

class OnePrinter final : public PrinterInventory {
public:
    std::vector<std::string> entryNames() const override { return {"Office Laser"}; }
};

// The frame's print commands reach the list view, and the preview hides the frame's own
// menu bar while it is open.
TEST(PrintWiring, FrameCommandsReachTheViewAndThePreviewHidesTheMenuBar) {
    test::TempFolder temp;
    test::RecordingPrompter prompter;
    NoUrls urls;
    const auto files = platform::makeSystemFileStore();
    const auto codec = platform::makeCp949Codec();
    CMainFrame frame(FrameServices{prompter, urls, *files, *codec, temp.path(), {1024, 768}});
    CTessupDoc document;
    auto* view = new CTessupView(&document);
    frame.setClientView(view, view);
    view->OnInitialUpdate(frame.profileList);

    OnePrinter printers;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(temp.file("list.pdf")));
    wirePrintCommands(frame, *view, PrintServices{nullptr, &printers, &printer, {}});

    std::vector<std::string> kinds;
    bool menuBarShownInPreview = true;
    prompter.onDialog = [&](QDialog& dialog) {
        if (dynamic_cast<QPrintPreviewDialog*>(&dialog) != nullptr) {
            kinds.push_back("preview");
            menuBarShownInPreview = frame.menuBar()->isVisibleTo(&frame);
        } else if (dynamic_cast<QPrintDialog*>(&dialog) != nullptr) {
            kinds.push_back("print");
        }
        return int(QDialog::Rejected);
    };
    frame.runCommand(ID_FILE_PRINT_PREVIEW);
    frame.runCommand(ID_FILE_PRINT);

    EXPECT_EQ(kinds, (std::vector<std::string>{"preview", "print"}));
    EXPECT_FALSE(menuBarShownInPreview);
    EXPECT_TRUE(frame.menuBar()->isVisibleTo(&frame));
    EXPECT_TRUE(prompter.messages.empty());

    // 57608 prints every page without a dialog.
    frame.runCommand(ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(kinds.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(temp.file("list.pdf")));
}

}  // namespace
}  // namespace quorrel
