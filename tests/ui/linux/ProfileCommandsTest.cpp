#include <gtest/gtest.h>

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "base/CommandIds.h"
#include "listview/ProfileRows.h"
#include "listview/ui/CProfileEditDlg.h"
#include "listview/ui/CTessupView.h"
#include "listview/ui/IpAddressEdit.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "resources/AppTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

// The main window with its list view, offscreen; dialogs and messages are answered by the
// recording prompter.
class ProfileCommandsTest : public ::testing::Test {
protected:
    void start(std::initializer_list<IpProfile> profiles) {
        frame = std::make_unique<CMainFrame>(FrameServices{prompter,
                                                           urls,
                                                           *files,
                                                           *codec,
                                                           temp.path(),
                                                           {1024, 768},
                                                           &registry,
                                                           &adapterTable,
                                                           &adapterKeys});
        view = frame->view();
        for (const IpProfile& p : profiles) {
            frame->profiles().profileList.append(p);
        }
        frame->OnInitialUpdate();
        // Without adapters the start-up has said so; the commands' own messages follow.
        prompter.messages.clear();
        // A picture of an adapter, so that a re-apply gets as far as its confirmation.
        frame->chosenAdapter().currentSettings = dhcpProfile("").adapter("eth0").build();
    }

    // A re-apply's confirmation is recorded, with the gateway every row shows at that
    // moment, and declined.
    bool recordConfirmation(QDialog& dialog) {
        auto* confirm = dynamic_cast<CApplyConfirmDlg*>(&dialog);
        if (confirm == nullptr) {
            return false;
        }
        Confirmation seen;
        seen.gateway = confirm->gatewayText()->text().toStdString();
        for (int row = 0; row < view->rowCount(); ++row) {
            seen.rowGateways[view->cellText(row, kNameColumn)] =
                view->cellText(row, kGatewayColumn);
        }
        confirmations.push_back(seen);
        return true;
    }

    int rowOf(const std::string& name) const {
        for (int row = 0; row < view->rowCount(); ++row) {
            if (view->cellText(row, 0) == name) {
                return row;
            }
        }
        return -1;
    }

    void select(const std::string& name) {
        const int row = rowOf(name);
        ASSERT_GE(row, 0) << name;
        view->selectionModel()->select(
            view->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const IpProfile& p : frame->profiles().profileList) {
            result.push_back(p.name);
        }
        return result;
    }

    bool dataFileWritten() const {
        return std::filesystem::exists(frame->profiles().dataFilePath());
    }
    void forgetDataFile() const { std::filesystem::remove(frame->profiles().dataFilePath()); }

    // The editor is answered by `fill`, then OK.
    void answerEditorWith(std::function<void(CProfileEditDlg&)> fill) {
        prompter.onDialog = [this, fill](QDialog& dialog) {
            if (recordConfirmation(dialog)) {
                return int(QDialog::Rejected);
            }
            auto& editor = dynamic_cast<CProfileEditDlg&>(dialog);
            fill(editor);
            editor.okButton()->click();
            return editor.result();
        };
    }

    bool enabled(int command) const {
        const bool menu = frame->menuAction(command)->isEnabled();
        EXPECT_EQ(frame->toolButtonAction(command)->isEnabled(), menu) << command;
        return menu;
    }

    test::TempFolder temp;
    test::RecordingPrompter prompter;
    NoUrls urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable adapterTable;
    test::FakeAdapterKeys adapterKeys;
    std::unique_ptr<CMainFrame> frame;
    CTessupView* view = nullptr;
    struct Confirmation {
        std::string gateway;
        std::map<std::string, std::string> rowGateways;
    };
    std::vector<Confirmation> confirmations;
};

TEST_F(ProfileCommandsTest, CopiesTakeTheLowestFreeNumberAndAreNeverMarked) {
    start({dhcpProfile("집").current(), fixedProfile("50%", "10.0.0.1")});
    for (int i = 0; i < 3; ++i) {
        select("집");
        frame->runCommand(ID_PROFILE_COPY);
    }
    select("집[1]");
    frame->runCommand(ID_POPUP_COPY);
    select("50%");
    frame->runCommand(ID_PROFILE_COPY);
    EXPECT_EQ(names(), (std::vector<std::string>{"집", "50%", "집[1]", "집[2]", "집[3]", "집[1][1]",
                                                 "50%[1]"}));
    const IpProfile* copy = frame->profiles().profileList.findByName("집[1]");
    EXPECT_EQ(copy->useDhcp, 1);
    EXPECT_EQ(copy->isCurrent, 0);
    EXPECT_EQ(copy->ipAddress, "");
    EXPECT_EQ(frame->profiles().profileList.findByName("50%[1]")->ipAddress, "10.0.0.1");
    EXPECT_TRUE(dataFileWritten());
    EXPECT_GE(rowOf("50%[1]"), 0);  // the list shows the copies at once

    // After a delete the freed number is taken again.
    select("집[2]");
    frame->runCommand(ID_PROFILE_DELETE);
    select("집");
    frame->runCommand(ID_PROFILE_COPY);
    EXPECT_EQ(names().back(), "집[2]");
}

TEST_F(ProfileCommandsTest, DeleteRefusesTheProfileInUseAndAsksBeforeRemovingAnother) {
    start({fixedProfile("Office", "10.0.0.1").current(), fixedProfile("Lab", "10.0.0.2"),
           dhcpProfile("Home")});

    select("Office");
    frame->runCommand(ID_PROFILE_DELETE);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kDeleteInUseText);
    EXPECT_EQ(prompter.messages[0].caption, "Quorrel - 삭제 오류");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(frame->profiles().profileList.size(), 3u);
    EXPECT_FALSE(dataFileWritten());

    select("Lab");
    prompter.answers.push_back(MessageResult::Cancel);
    frame->runCommand(ID_POPUP_DELETE);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, "선택된 항목을 삭제하시겠습니까?");
    EXPECT_EQ(prompter.messages[1].caption, "삭제 확인");
    EXPECT_EQ(prompter.messages[1].icon, MessageIcon::Question);
    EXPECT_EQ(prompter.messages[1].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(frame->profiles().profileList.size(), 3u);
    EXPECT_FALSE(dataFileWritten());

    frame->runCommand(ID_PROFILE_DELETE);  // answered with OK
    EXPECT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(names(), (std::vector<std::string>{"Office", "Home"}));
    EXPECT_EQ(rowOf("Lab"), -1);
    EXPECT_TRUE(dataFileWritten());
}

TEST_F(ProfileCommandsTest, EditWithoutChangeSavesNothingAndAddAppendsAndSaves) {
    start({fixedProfile("Lab", "10.0.0.2").gateway("10.0.0.254")});
    frame->applyRun().lastAppliedName = "Lab";
    select("Lab");
    answerEditorWith([](CProfileEditDlg&) {});
    frame->runCommand(ID_PROFILE_EDIT);
    EXPECT_EQ(prompter.dialogTitles.back(), QString::fromUtf8("IP 설정 수정"));
    EXPECT_FALSE(dataFileWritten());
    EXPECT_TRUE(confirmations.empty());
    EXPECT_EQ(frame->profiles().profilesModified, 0);

    answerEditorWith([](CProfileEditDlg& dialog) { dialog.nameField()->setText("Cafe"); });
    frame->runCommand(ID_PROFILE_ADD);
    EXPECT_EQ(names(), (std::vector<std::string>{"Lab", "Cafe"}));
    EXPECT_EQ(frame->profiles().profileList.findByName("Cafe")->useDhcp, 1);
    EXPECT_TRUE(dataFileWritten());

    // A cancelled editor adds nothing.
    forgetDataFile();
    prompter.onDialog = nullptr;
    frame->runCommand(ID_PROFILE_ADD);
    EXPECT_EQ(frame->profiles().profileList.size(), 2u);
    EXPECT_FALSE(dataFileWritten());
}

TEST_F(ProfileCommandsTest, RenamingTheAppliedProfileKeepsItAppliedAndAChangeReappliesIt) {
    // Lab is marked at start-up and never applied in this run.
    start({fixedProfile("집", "192.168.0.10").gateway("192.168.0.1"),
           fixedProfile("Lab", "10.0.0.9").current()});
    frame->applyRun().lastAppliedName = "집";

    // Only the name: saved, not applied, and the new name counts as applied.
    select("집");
    answerEditorWith(
        [](CProfileEditDlg& dialog) { dialog.nameField()->setText(QString::fromUtf8("우리집")); });
    frame->runCommand(ID_PROFILE_EDIT);
    EXPECT_TRUE(confirmations.empty());
    EXPECT_EQ(frame->applyRun().lastAppliedName, "우리집");
    EXPECT_TRUE(dataFileWritten());
    EXPECT_GE(rowOf("우리집"), 0);

    // Then the gateway: applied again, by its name, with the row already showing the new
    // gateway (the confirmation shows what will be set).
    forgetDataFile();
    select("우리집");
    answerEditorWith([](CProfileEditDlg& dialog) {
        IpAddressEdit* gateway = dialog.addressEdit(EditorControl::Gateway);
        gateway->model().enterField(0);
        QTest::keyClicks(gateway, "192.168.0.254");
    });
    frame->runCommand(ID_PROFILE_EDIT);
    ASSERT_EQ(confirmations.size(), 1u);
    EXPECT_EQ(confirmations[0].gateway, "192.168.0.254");
    EXPECT_EQ(confirmations[0].rowGateways.at("우리집"), "192.168.0.254");
    EXPECT_EQ(frame->profiles().profileList.findByName("우리집")->gateway, "192.168.0.254");
    EXPECT_TRUE(dataFileWritten());

    // Name and settings at once: the apply still finds the profile, under its new name.
    select("우리집");
    answerEditorWith([](CProfileEditDlg& dialog) {
        dialog.nameField()->setText("Home");
        IpAddressEdit* gateway = dialog.addressEdit(EditorControl::Gateway);
        gateway->model().enterField(0);
        QTest::keyClicks(gateway, "192.168.0.1");
    });
    frame->runCommand(ID_POPUP_EDIT);
    ASSERT_EQ(confirmations.size(), 2u);
    EXPECT_EQ(confirmations[1].gateway, "192.168.0.1");
    EXPECT_EQ(confirmations[1].rowGateways.at("Home"), "192.168.0.1");
    EXPECT_EQ(frame->applyRun().lastAppliedName, "Home");

    // The profile marked at start-up but never applied: saved, not applied.
    forgetDataFile();
    select("Lab");
    answerEditorWith([](CProfileEditDlg& dialog) {
        IpAddressEdit* address = dialog.addressEdit(EditorControl::Address);
        address->model().enterField(0);
        QTest::keyClicks(address, "10.0.0.8");
    });
    frame->runCommand(ID_PROFILE_EDIT);
    EXPECT_EQ(confirmations.size(), 2u);
    EXPECT_EQ(frame->profiles().profileList.findByName("Lab")->ipAddress, "10.0.0.8");
    EXPECT_EQ(frame->profiles().profileList.findByName("Lab")->isCurrent, 1);
    EXPECT_TRUE(dataFileWritten());
}

TEST_F(ProfileCommandsTest, SelectionCommandsAreEnabledOnlyWhileARowIsSelected) {
    start({fixedProfile("Lab", "10.0.0.2"), dhcpProfile("Home")});
    const std::vector<int> needSelection = {ID_PROFILE_COPY, ID_PROFILE_EDIT, ID_PROFILE_DELETE,
                                            ID_PROFILE_APPLY};
    view->clearSelection();
    for (int command : needSelection) {
        EXPECT_FALSE(enabled(command)) << command;
    }
    EXPECT_TRUE(enabled(ID_PROFILE_ADD));

    select("Home");
    for (int command : needSelection) {
        EXPECT_TRUE(enabled(command)) << command;
    }

    // Deleting the last rows leaves nothing selected.
    frame->runCommand(ID_PROFILE_DELETE);
    select("Lab");
    frame->runCommand(ID_PROFILE_DELETE);
    EXPECT_EQ(view->rowCount(), 0);
    for (int command : needSelection) {
        EXPECT_FALSE(enabled(command)) << command;
    }
    // Without a selection the commands do nothing even when sent.
    const std::size_t messages = prompter.messages.size();
    frame->runCommand(ID_PROFILE_COPY);
    frame->runCommand(ID_PROFILE_EDIT);
    frame->runCommand(ID_PROFILE_DELETE);
    EXPECT_EQ(prompter.messages.size(), messages);
    EXPECT_TRUE(frame->profiles().profileList.empty());
}

TEST_F(ProfileCommandsTest, TheStatusViewShowsItsDialog) {
    start({fixedProfile("Lab", "10.0.0.2")});
    const std::string script = temp.file("report.sh");
    std::ofstream(script) << "#!/bin/sh\nprintf 'report'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const char* saved = std::getenv("QUORREL_IPCONFIG");
    const std::string savedValue = saved ? saved : "";
    setenv("QUORREL_IPCONFIG", script.c_str(), 1);
    frame->runCommand(ID_ADAPTER_STATUS);
    if (saved) {
        setenv("QUORREL_IPCONFIG", savedValue.c_str(), 1);
    } else {
        unsetenv("QUORREL_IPCONFIG");
    }
    EXPECT_EQ(prompter.dialogTitles.back(), QString::fromUtf8("현황보기"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ProfileCommandsTest, ThePrintNoticeAndDeleteAllChangeNothing) {
    start({fixedProfile("Lab", "10.0.0.2")});
    // The frame's list view has the print command; the frame's own answer is the notice.
    frame->OnPrintNotReady();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Quorrel v3.0 부터 제공될 기능입니다.\n죄송합니다.");
    EXPECT_EQ(prompter.messages[0].caption, "Quorrel");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);

    frame->runCommand(ID_PROFILE_DELETE_ALL);
    EXPECT_EQ(frame->profiles().profileList.size(), 1u);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(dataFileWritten());
}

}  // namespace
}  // namespace quorrel
