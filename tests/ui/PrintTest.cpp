#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <algorithm>

#include "app/ui/ProgramFonts.h"
#include "listview/CTessupDoc.h"
#include "listview/PrinterCount.h"
#include "listview/PrinterInventory.h"
#include "listview/ui/CTessupView.h"
#include "listview/ui/PrintCommands.h"
#include "platform/ui/SystemWindows.h"
#include "resources/AppTexts.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/PdfPages.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

// The rows of the printouts: every cell of a fixed profile filled but the second DNS server.
IpProfile printedProfile(const std::string& name, const std::string& ip) {
    return test::fixedProfile(name, ip).gateway("10.1.0.1").dns("10.1.0.53");
}

using test::PdfPages;

// Half a millimetre.
constexpr double kTolerance = 5.0;

class FakeInventory final : public PrinterInventory {
public:
    std::vector<std::string> names{"프린터 추가", "Office Laser"};
    std::vector<std::string> entryNames() const override { return names; }
};

class PrintTest : public ::testing::Test {
protected:
    PrintTest() : view(&document), printer(QPrinter::HighResolution) {
        applyProgramFonts();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdfPath()));
        view.setPrintServices(PrintServices{&prompter, &inventory, &printer,
                                            [this](int flag) { menuBarCalls.push_back(flag); }});
    }

    // With QUORREL_PRINT_SAMPLES naming a folder, the last printout of each test is kept
    // there (the picture in docs/ is made from one).
    ~PrintTest() override {
        const QString samples = qEnvironmentVariable("QUORREL_PRINT_SAMPLES");
        if (!samples.isEmpty() && printed()) {
            const QString name =
                QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
            QFile::remove(samples + "/" + name + ".pdf");
            QFile::copy(QString::fromStdString(pdfPath()), samples + "/" + name + ".pdf");
        }
    }

    std::string pdfPath() const { return folder.file("list.pdf"); }
    bool printed() const { return QFile::exists(QString::fromStdString(pdfPath())); }

    // Profiles "p000" ... in reverse name order, so that the data order is not the shown one.
    void fill(int count) {
        for (int i = count - 1; i >= 0; --i) {
            char name[16];
            std::snprintf(name, sizeof name, "p%03d", i);
            profiles.append(printedProfile(name, "10.0." + std::to_string(i % 7) + ".9"));
        }
        view.OnInitialUpdate(profiles);
    }

    std::vector<QString> shownNames() const {
        std::vector<QString> names;
        for (int row = 0; row < view.rowCount(); ++row) {
            names.push_back(QString::fromStdString(view.cellText(row, 0)));
        }
        return names;
    }

    // Answers the print dialog with a page range, or all pages for 0.
    void answerPrintDialog(int from = 0, int to = 0) {
        prompter.onDialog = [from, to](QDialog& dialog) {
            auto& printDialog = dynamic_cast<QPrintDialog&>(dialog);
            if (from > 0) {
                printDialog.printer()->setPrintRange(QPrinter::PageRange);
                printDialog.printer()->setFromTo(from, to);
            }
            return int(QDialog::Accepted);
        };
    }

    test::TempFolder folder;
    CTessupDoc document;
    CTessupView view;
    ProfileList profiles;
    test::RecordingPrompter prompter;
    FakeInventory inventory;
    QPrinter printer;
    std::vector<int> menuBarCalls;
};

void expectAt(const std::optional<PdfPages::Box>& box, double x, double top, bool centred,
              const char* what) {
    ASSERT_TRUE(box.has_value()) << what;
    EXPECT_NEAR(centred ? box->centreX() : box->left, x, kTolerance) << what;
    EXPECT_NEAR(box->top, top, kTolerance) << what;
}

TEST_F(PrintTest, PageOneOfTheListPrintsTitleHeadingsRowsAndFooterInPlace) {
    fill(51);
    answerPrintDialog();
    view.PrintProfileList();

    ASSERT_EQ(prompter.dialogTitles.size(), 1u);
    ASSERT_TRUE(printed());
    const PdfPages pdf(QString::fromStdString(pdfPath()));
    ASSERT_EQ(pdf.pageCount(), 1);
    EXPECT_NEAR(pdf.page(1).width, 2100, 2);
    EXPECT_NEAR(pdf.page(1).height, 2970, 2);

    expectAt(pdf.find(1, "IP 설정 리스트"), 975, 150, true, "title");
    expectAt(pdf.find(1, "이름"), 275, 295, true, "heading 0");
    expectAt(pdf.find(1, "IP 주소"), 590, 295, true, "heading 1");
    expectAt(pdf.find(1, "서브넷 주소"), 870, 295, true, "heading 2");
    expectAt(pdf.find(1, "게이트 웨이 주소"), 1150, 295, true, "heading 3");
    expectAt(pdf.find(1, "기본 DNS 서버"), 1430, 295, true, "heading 4");
    expectAt(pdf.find(1, "보조 DNS 서버"), 1710, 295, true, "heading 5");
    expectAt(pdf.find(1, "p000"), 125, 340, false, "first row");
    expectAt(pdf.find(1, "p050"), 125, 340 + 45 * 50, false, "last row");
    expectAt(pdf.find(1, "- 1/1 -"), 975, 2700, true, "footer");
    EXPECT_EQ(pdf.pagesWithImages(), std::vector<int>{1});
    // The list's own headings are not printed.
    EXPECT_FALSE(pdf.contains(1, "마스크"));
}

TEST_F(PrintTest, RowsFollowTheSortOrderAndTheLogicalColumns) {
    fill(9);
    view.sortHook(1);                            // by address, as text
    view.horizontalHeader()->moveSection(0, 5);  // the name column dragged to the end
    answerPrintDialog();
    view.PrintProfileList();

    const PdfPages pdf(QString::fromStdString(pdfPath()));
    ASSERT_EQ(pdf.pageCount(), 1);
    std::vector<QString> printedNames;
    for (const auto& word : pdf.column(1, 125, kTolerance)) {
        if (word.box.top > 330) {
            printedNames.push_back(word.text);
        }
    }
    const std::vector<QString> shown = shownNames();
    ASSERT_FALSE(std::is_sorted(shown.begin(), shown.end()));  // not the name order
    EXPECT_EQ(printedNames, shown);
}

TEST_F(PrintTest, PagesTwoToThreeOfThreeCarryNoTitleOrLogo) {
    fill(106);
    int presetMin = 0, presetMax = 0, presetFrom = 0, presetTo = 0;
    bool selectionOffered = true;
    prompter.onDialog = [&](QDialog& dialog) {
        auto& printDialog = dynamic_cast<QPrintDialog&>(dialog);
        presetMin = printDialog.minPage();
        presetMax = printDialog.maxPage();
        presetFrom = printDialog.fromPage();
        presetTo = printDialog.toPage();
        selectionOffered = printDialog.testOption(QAbstractPrintDialog::PrintSelection);
        EXPECT_EQ(printDialog.printer()->docName(), "IP 설정 리스트");
        printDialog.printer()->setPrintRange(QPrinter::PageRange);
        printDialog.printer()->setFromTo(2, 3);
        return int(QDialog::Accepted);
    };
    view.PrintProfileList();

    EXPECT_EQ(view.totalPages, 3);
    EXPECT_EQ(presetMin, 1);
    EXPECT_EQ(presetMax, 3);
    EXPECT_EQ(presetFrom, 1);
    EXPECT_EQ(presetTo, 3);
    EXPECT_FALSE(selectionOffered);

    const PdfPages pdf(QString::fromStdString(pdfPath()));
    ASSERT_EQ(pdf.pageCount(), 2);
    EXPECT_TRUE(pdf.pagesWithImages().empty());
    for (int page = 1; page <= 2; ++page) {
        EXPECT_FALSE(pdf.contains(page, "리스트")) << page;
        expectAt(pdf.find(page, "이름"), 275, 160, true, "heading on a later page");
    }
    expectAt(pdf.find(1, "- 2/3 -"), 975, 2700, true, "footer 2");
    expectAt(pdf.find(2, "- 3/3 -"), 975, 2700, true, "footer 3");
    expectAt(pdf.find(1, "p051"), 125, 205, false, "first row of page 2");
    expectAt(pdf.find(1, "p104"), 125, 205 + 45 * 53, false, "last row of page 2");
    expectAt(pdf.find(2, "p105"), 125, 205, false, "the only row of page 3");
    EXPECT_FALSE(pdf.contains(1, "p050"));
}

TEST_F(PrintTest, WithoutAPrinterOnlyTheMessageAppears) {
    inventory.names = {"프린터 추가"};
    fill(3);
    view.PrintProfileList();
    view.OnFilePrintPreview();
    view.OnFilePrintDirect();

    ASSERT_EQ(prompter.messages.size(), 3u);
    for (const Message& message : prompter.messages) {
        EXPECT_EQ(message.text, print::noPrinterMessage());
        EXPECT_EQ(message.caption, "Quorrel v2.1.1");
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
    }
    EXPECT_TRUE(prompter.dialogTitles.empty());
    EXPECT_TRUE(menuBarCalls.empty());
    EXPECT_FALSE(printed());
}

TEST_F(PrintTest, ThePrintersPaperComesBackAfterEveryJob) {
    fill(60);
    const auto setLetterLandscape = [this] {
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Landscape);
    };
    const auto expectLetterLandscape = [this](const char* when) {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter) << when;
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape) << when;
        EXPECT_FALSE(printer.fullPage()) << when;
    };
    setLetterLandscape();

    answerPrintDialog();
    view.PrintProfileList();
    expectLetterLandscape("after printing");
    {
        const PdfPages pdf(QString::fromStdString(pdfPath()));
        ASSERT_EQ(pdf.pageCount(), 2);
        EXPECT_NEAR(pdf.page(2).width, 2100, 2);  // A4 portrait for the job
        EXPECT_NEAR(pdf.page(2).height, 2970, 2);
    }

    // Through the hooks, without a dialog.
    QFile::remove(QString::fromStdString(pdfPath()));
    view.OnFilePrintDirect();
    expectLetterLandscape("after printing through the hooks");
    EXPECT_NEAR(PdfPages(QString::fromStdString(pdfPath())).page(1).height, 2970, 2)
        << "A4 portrait";

    // A document that cannot be started prints nothing and still puts the paper back.
    printer.setOutputFileName(QString::fromStdString(folder.file("missing/list.pdf")));
    answerPrintDialog();
    view.PrintProfileList();
    expectLetterLandscape("after a document that could not start");
}

TEST_F(PrintTest, PreviewHidesTheMenuBarAndItsPrintButtonRunsThePrintCommand) {
    fill(106);
    int previewPages = 0;
    QPageLayout::Orientation orientationWhileOpen = QPageLayout::Landscape;
    printer.setPageOrientation(QPageLayout::Landscape);
    prompter.onDialog = [&](QDialog& dialog) {
        auto* preview = dynamic_cast<QPrintPreviewDialog*>(&dialog);
        if (preview == nullptr) {
            return int(QDialog::Accepted);  // the print command's dialog: all pages
        }
        orientationWhileOpen = printer.pageLayout().orientation();
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        if (pages != nullptr) {
            pages->updatePreview();
            previewPages = pages->pageCount();
        }
        const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        for (QAction* action : preview->findChildren<QAction*>()) {
            if (action->text() == printText) {
                action->trigger();
            }
        }
        return int(QDialog::Accepted);
    };
    view.OnFilePrintPreview();

    EXPECT_EQ(orientationWhileOpen, QPageLayout::Portrait);
    EXPECT_EQ(previewPages, 3);
    EXPECT_EQ(menuBarCalls, (std::vector<int>{0, 1}));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    // The print button closed the preview and ran the print command with its own dialog.
    ASSERT_EQ(prompter.dialogTitles.size(), 2u);
    ASSERT_TRUE(printed());
    EXPECT_EQ(PdfPages(QString::fromStdString(pdfPath())).pageCount(), 3);
}

TEST_F(PrintTest, ThePreviewOffersNoLandscapeAndNoPageSetup) {
    fill(40);
    QPageLayout::Orientation shownOrientation = QPageLayout::Landscape;
    std::vector<QString> offered;
    int found = 0;
    prompter.onDialog = [&](QDialog& dialog) {
        auto* preview = dynamic_cast<QPrintPreviewDialog*>(&dialog);
        if (preview == nullptr) {
            return int(QDialog::Rejected);
        }
        for (const char* source : {"Landscape", "Page setup"}) {
            const QString text = QCoreApplication::translate("QPrintPreviewDialog", source);
            for (QAction* action : preview->findChildren<QAction*>()) {
                if (action->text() != text) {
                    continue;
                }
                ++found;
                if (action->isVisible() || action->isEnabled()) {
                    offered.push_back(text);
                }
                if (QString(source) == "Landscape") {
                    action->trigger();  // even when reached, it turns nothing
                }
            }
        }
        if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) {
            shownOrientation = pages->orientation();
        }
        return int(QDialog::Rejected);
    };
    view.OnFilePrintPreview();

    EXPECT_EQ(found, 2) << "the preview's landscape and page set-up buttons";
    EXPECT_TRUE(offered.empty()) << offered.size() << " offered";
    EXPECT_EQ(shownOrientation, QPageLayout::Portrait);
    EXPECT_EQ(prompter.dialogTitles.size(), 1u) << "no page set-up dialog opened";
}

TEST_F(PrintTest, PreviewPrintsABoldTitleAndTheCommandLightOnes) {
    // A list as people keep it: Korean and Latin names, DHCP, two DNS servers.
    IpProfile office = printedProfile("사무실", "192.168.10.25");
    office.secondaryDns = "168.126.63.2";
    profiles.append(office);
    IpProfile home;
    home.name = "집";
    home.useDhcp = 1;
    home.dnsAuto = 1;
    profiles.append(home);
    profiles.append(printedProfile("회의실", "192.168.20.7"));
    profiles.append(printedProfile("Lab", "10.10.0.12"));
    profiles.append(printedProfile("Test-bench", "172.16.5.1"));
    view.OnInitialUpdate(profiles);
    answerPrintDialog();
    view.PrintProfileList();
    const QString commandFonts = PdfPages(QString::fromStdString(pdfPath())).fonts();
    // On Linux a Nanum face stands in for 굴림체 under its own name; Windows embeds its own.
    if (!platform::systemHasKoreanWindowsFaces()) {
        EXPECT_TRUE(commandFonts.contains(texts::kGulimCheSubstitute))
            << commandFonts.toStdString();
    }
    EXPECT_FALSE(commandFonts.contains("Bold")) << commandFonts.toStdString();

    // The hooks draw what the preview shows.
    QFile::remove(QString::fromStdString(pdfPath()));
    view.OnFilePrintDirect();
    const PdfPages hooks(QString::fromStdString(pdfPath()));
    EXPECT_TRUE(hooks.fonts().contains("Bold")) << hooks.fonts().toStdString();
    expectAt(hooks.find(1, "IP 설정 리스트"), 975, 150, true, "title");
    expectAt(hooks.find(1, "Lab"), 125, 340, false, "first row");
    expectAt(hooks.find(1, "회의실"), 125, 340 + 45 * 4, false, "last row");
    EXPECT_EQ(menuBarCalls, (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace quorrel
