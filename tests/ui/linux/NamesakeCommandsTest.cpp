// Two profiles with the same name, as a hand-edited data file can hold them: every command
// works on the profile of the selected row, never on the first one of that name.

#include <gtest/gtest.h>

#include <QDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "base/CommandIds.h"
#include "listview/ui/CProfileEditDlg.h"
#include "listview/ui/CTessupView.h"
#include "listview/ui/IpAddressEdit.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "resources/ListTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

// 집 is C1 FD in CP949; the two lines differ only in their address.
constexpr const char* kFirstLine = "\xC1\xFD||FALSE||10.0.0.1||255.255.255.0||||FALSE||||\r\n";
constexpr const char* kSecondLine = "\xC1\xFD||FALSE||10.0.0.2||255.255.255.0||||FALSE||||\r\n";

class NamesakeCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A stand-in netsh that records its arguments and succeeds.
        log = temp.file("netsh.log");
        const std::string script = temp.file("netsh");
        test::writeFileBytes(script, "#!/bin/sh\nprintf '%s|' \"$@\" >> '" + log + "'\necho >> '" +
                                         log + "'\nexit 0\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        setenv("QUORREL_NETSH", script.c_str(), 1);

        fs::create_directory(temp.file("data"));
        test::writeFileBytes(dataFile(), std::string(kFirstLine) + kSecondLine);
        table.entries = {test::tableEntry("eth7", 1, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
        keys.add("eth7", "eth7");
        frame = std::make_unique<CMainFrame>(FrameServices{prompter, urls, *files, *codec,
                                                           temp.file("data/"), QSize(1024, 768),
                                                           &registry, &table, &keys});
        frame->OnInitialUpdate();
        view = frame->view();
        prompter.messages.clear();
    }

    void TearDown() override { unsetenv("QUORREL_NETSH"); }

    std::string dataFile() const { return temp.file("data/quorrel.dat"); }

    // Selects the row of 집 that shows this address.
    void selectNamesakeWith(const std::string& address) {
        for (int row = 0; row < view->rowCount(); ++row) {
            if (view->cellText(row, 0) == "집" && view->cellText(row, 1) == address) {
                view->selectionModel()->select(
                    view->model()->index(row, 0),
                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                return;
            }
        }
        FAIL() << address;
    }

    // name and address of every profile, in list order
    std::vector<std::string> listed() const {
        std::vector<std::string> result;
        for (const IpProfile& p : frame->profiles().profileList) {
            result.push_back(p.name + " " + p.ipAddress);
        }
        return result;
    }

    IpProfile& namesake(int which) {
        auto it = frame->profiles().profileList.begin();
        for (int seen = 0; it != frame->profiles().profileList.end(); ++it) {
            if (it->name == "집" && seen++ == which) {
                break;
            }
        }
        return *it;
    }

    test::TempFolder temp;
    std::string log;
    test::RecordingPrompter prompter;
    NoUrls urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    std::unique_ptr<CMainFrame> frame;
    CTessupView* view = nullptr;
};

TEST_F(NamesakeCommandsTest, DeleteRemovesTheSelectedOneAndKeepsItsNamesake) {
    ASSERT_EQ(listed(), (std::vector<std::string>{"집 10.0.0.1", "집 10.0.0.2", "설정[1] "}));
    selectNamesakeWith("10.0.0.2");
    frame->runCommand(ID_PROFILE_DELETE);  // the question is answered with OK
    EXPECT_EQ(listed(), (std::vector<std::string>{"집 10.0.0.1", "설정[1] "}));
    EXPECT_EQ(test::readFileBytes(dataFile()).substr(0, std::string(kFirstLine).size()),
              kFirstLine);
    EXPECT_EQ(test::readFileBytes(dataFile()).find("10.0.0.2"), std::string::npos);
}

TEST_F(NamesakeCommandsTest, CopyTakesTheSelectedOnesSettings) {
    selectNamesakeWith("10.0.0.2");
    frame->runCommand(ID_PROFILE_COPY);
    ASSERT_EQ(frame->profiles().profileList.size(), 4u);
    EXPECT_EQ(std::prev(frame->profiles().profileList.end())->ipAddress, "10.0.0.2");
}

TEST_F(NamesakeCommandsTest, EditOpensAndChangesTheSelectedOneWhichMustTakeANewName) {
    selectNamesakeWith("10.0.0.2");
    QString shownAddress;
    int editorRuns = 0;
    prompter.onDialog = [&](QDialog& dialog) {
        auto& editor = dynamic_cast<CProfileEditDlg&>(dialog);
        shownAddress = editor.addressEdit(EditorControl::Address)->text();
        // First OK with the shared name, which the editor refuses; then a name of its own.
        if (++editorRuns == 1) {
            editor.okButton()->click();
            EXPECT_EQ(editor.result(), QDialog::Rejected);
        }
        editor.nameField()->setText(QString::fromUtf8("집2"));
        editor.okButton()->click();
        return editor.result();
    };
    frame->runCommand(ID_PROFILE_EDIT);
    EXPECT_EQ(shownAddress, "10.0.0.2");
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages[0].text, texts::kEditorNameDuplicate);
    EXPECT_EQ(listed(), (std::vector<std::string>{"집 10.0.0.1", "집2 10.0.0.2", "설정[1] "}));
}

TEST_F(NamesakeCommandsTest, ApplyRunsAndMarksTheSelectedOne) {
    selectNamesakeWith("10.0.0.2");
    QString confirmedAddress;
    prompter.onDialog = [&](QDialog& dialog) {
        if (auto* confirm = dynamic_cast<CApplyConfirmDlg*>(&dialog)) {
            confirmedAddress = confirm->ipText()->text();
            return int(QDialog::Accepted);
        }
        // The progress dialog ends by itself once the stand-in has run; the guard keeps a
        // broken build from hanging here.
        QTimer::singleShot(20000, &dialog, [&dialog] { dialog.reject(); });
        return dialog.exec();
    };
    frame->runCommand(ID_PROFILE_APPLY);
    EXPECT_EQ(confirmedAddress, "10.0.0.2");
    const std::string calls = test::readFileBytes(log);
    EXPECT_NE(calls.find("10.0.0.2"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("10.0.0.1|"), std::string::npos) << calls;
    EXPECT_EQ(namesake(0).isCurrent, 0);
    EXPECT_EQ(namesake(1).isCurrent, 1);
}

}  // namespace
}  // namespace quorrel
