#include <gtest/gtest.h>

#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <filesystem>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/PrintWiring.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "listview/PrinterCount.h"
#include "listview/PrinterInventory.h"
#include "listview/ui/CTessupView.h"
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

class PrintWiringTest : public ::testing::Test {
protected:
    test::TempFolder temp;
    test::RecordingPrompter prompter;
    NoUrls urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    CMainFrame frame{FrameServices{prompter, urls, *files, *codec, temp.path(), {1024, 768}}};
    CTessupView* view = frame.findChild<CTessupView*>();
};

// Ctrl+P, the menu entry and the toolbar button reach the list view's print command, not
// the frame's "not yet" message: the print dialog, or the no-printer message on a machine
// without printers.
TEST_F(PrintWiringTest, ThePrintCommandOfTheFrameReachesItsListView) {
    ASSERT_NE(view, nullptr);
    frame.runCommand(ID_FILE_PRINT);
    EXPECT_EQ(prompter.messages.size() + prompter.dialogTitles.size(), 1u);
    for (const Message& message : prompter.messages) {
        EXPECT_EQ(message.text, print::noPrinterMessage());
    }
}

// The preview hides the frame's own menu bar while it is open; ID_FILE_PRINT_DIRECT
// prints every page without a dialog.
TEST_F(PrintWiringTest, ThePreviewHidesTheFramesMenuBarWhileItIsOpen) {
    ASSERT_NE(view, nullptr);
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
    EXPECT_EQ(kinds, std::vector<std::string>{"preview"});
    EXPECT_FALSE(menuBarShownInPreview);
    EXPECT_TRUE(frame.menuBar()->isVisibleTo(&frame));
    EXPECT_TRUE(prompter.messages.empty());

    frame.runCommand(ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(kinds.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(temp.file("list.pdf")));
}

}  // namespace
}  // namespace quorrel
