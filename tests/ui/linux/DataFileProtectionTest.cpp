// What the main frame does with the data file it was given: bytes that are not CP949 go
// back unchanged, and a file that is there but cannot be read is never saved over.

#include <gtest/gtest.h>

#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "listview/AddressValue.h"
#include "listview/ui/CProfileEditDlg.h"
#include "listview/ui/CTessupView.h"
#include "listview/ui/IpAddressEdit.h"
#include "platform/TextCodec.h"
#include "resources/AdapterTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

constexpr const char* kFolder = "/profiles/";
constexpr const char* kDataFile = "/profiles/quorrel.dat";

class DataFileProtectionTest : public ::testing::Test {
protected:
    // A frame over files in memory, on a machine without adapters.
    void start() {
        frame = std::make_unique<CMainFrame>(FrameServices{
            prompter, urls, files, *codec, kFolder, QSize(1024, 768), &registry, &table, &keys});
        frame->OnInitialUpdate();
        std::erase_if(prompter.messages,
                      [](const Message& m) { return m.text == texts::kNoAdapterText; });
    }

    void selectRow(int row) {
        frame->view()->selectionModel()->select(
            frame->view()->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    test::RecordingPrompter prompter;
    NoUrls urls;
    test::MemoryFileStore files;
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(DataFileProtectionTest, BytesThatAreNotCp949SurviveAnEditAndTheClosingSave) {
    // A name of 집, a stray 0xFF and a lone lead byte; a second line whose last field ends
    // in a lone lead byte and which no command touches.
    const std::string name = "\xC1\xFD\xFFx\xB1";
    const std::string untouched = "b||FALSE||10.0.0.7||255.0.0.0||||FALSE||10.0.0.1||1.1\xB1\r\n";
    files.files[kDataFile] =
        name + "||FALSE||10.0.0.5||255.0.0.0||||FALSE||10.0.0.1||\r\n" + untouched;
    start();
    ASSERT_EQ(frame->view()->rowCount(), 2);
    // The list shows what it can read, with a replacement character for each stray byte.
    const int row = frame->view()->cellText(0, 0) == "b" ? 1 : 0;
    EXPECT_EQ(frame->view()->cellText(row, 0), std::string("집\uFFFDx\uFFFD"));

    // An edit that leaves the name as shown keeps its bytes.
    selectRow(row);
    QString shownName;
    prompter.onDialog = [&](QDialog& dialog) {
        auto& editor = dynamic_cast<CProfileEditDlg&>(dialog);
        shownName = editor.nameField()->text();
        editor.addressEdit(EditorControl::Address)->setAddress(makeAddress(10, 0, 0, 6));
        editor.okButton()->click();
        return editor.result();
    };
    frame->runCommand(ID_PROFILE_EDIT);
    EXPECT_EQ(shownName, QString::fromUtf8("집\uFFFDx\uFFFD"));
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messages[0].text;
    const std::string expected =
        name + "||FALSE||10.0.0.6||255.0.0.0||||FALSE||10.0.0.1||\r\n" + untouched;
    EXPECT_EQ(files.files[kDataFile], expected);

    EXPECT_TRUE(frame->close());
    EXPECT_EQ(files.files[kDataFile], expected);
}

TEST_F(DataFileProtectionTest, AFileThatCannotBeReadIsNamedOnceAndNeverSavedOver) {
    files.files[kDataFile] = "집||TRUE||||||||TRUE||||\r\n";  // what the reader cannot reach
    files.unreadable[kDataFile] = "Permission denied";
    start();
    EXPECT_TRUE(frame->profiles().profileList.empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find(kDataFile), std::string::npos);
    EXPECT_NE(prompter.messages[0].text.find("Permission denied"), std::string::npos);
    prompter.messages.clear();

    // A command's save and the closing save leave the file alone, and say nothing more.
    IpProfile added;
    added.name = "새 설정";
    added.useDhcp = 1;
    frame->profiles().profileList.append(added);
    frame->profiles().profilesModified = 1;
    EXPECT_EQ(frame->profiles().saveProfiles(), 0);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(files.files[kDataFile], "집||TRUE||||||||TRUE||||\r\n");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DataFileProtectionTest, AMissingFileStartsEmptyAndIsMadeByTheFirstSave) {
    start();
    EXPECT_TRUE(frame->profiles().profileList.empty());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(files.files.count(kDataFile), 1u);
}

}  // namespace
}  // namespace quorrel
