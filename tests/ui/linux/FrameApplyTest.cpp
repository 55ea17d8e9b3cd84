// The main frame's apply command against a stand-in netsh: a script that records its
// arguments and fails for one address.

#include <gtest/gtest.h>

#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "base/CommandIds.h"
#include "listview/ui/CTessupView.h"
#include "platform/DebugOutput.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/EventLoopWait.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

constexpr const char* kFailingAddress = "10.99.99.99";

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

class FrameApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        log = temp.path() + "netsh.log";
        const std::string script = temp.path() + "netsh";
        test::writeFileBytes(script,
                             "#!/bin/sh\n"
                             "printf '%s|' \"$@\" >> '" +
                                 log +
                                 "'\n"
                                 "echo >> '" +
                                 log +
                                 "'\n"
                                 "case \"$*\" in *" +
                                 std::string(kFailingAddress) +
                                 "*) exit 1;; esac\n"
                                 "exit 0\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        setenv("QUORREL_NETSH", script.c_str(), 1);

        // At start the frame takes eth7's DHCP configuration over as "설정[1]" and marks it.
        table.entries = {test::tableEntry("eth7", 1, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
        keys.add("eth7", "로컬 영역 연결");
        frame =
            std::make_unique<CMainFrame>(FrameServices{prompter, urls, *files, *codec, temp.path(),
                                                       QSize(1024, 768), &registry, &table, &keys});
        view = frame->view();
        ASSERT_NE(view, nullptr);
        ASSERT_NE(frame->profiles().profileList.findByName("설정[1]"), nullptr);
        frame->profiles().profileList.append(
            test::fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1").dns("10.0.0.53"));
        frame->profiles().profileList.append(
            test::fixedProfile("고장", kFailingAddress).dns("10.0.0.53"));
        frame->OnInitialUpdate();
        ASSERT_TRUE(frame->chosenAdapter().currentSettings);
        ASSERT_TRUE(checked("설정[1]"));
        prompter.messages.clear();

        prompter.onDialog = [this](QDialog& dialog) {
            if (auto* confirm = dynamic_cast<CApplyConfirmDlg*>(&dialog)) {
                confirmed.push_back({confirm->adapterName()->text(), confirm->ipText()->text(),
                                     confirm->maskText()->text(), confirm->gatewayText()->text()});
                return confirmAnswer;
            }
            if (dynamic_cast<CApplyProgressDlg*>(&dialog) != nullptr) {
                ++progressRuns;
                // It ends by itself once the script has run; the guard keeps a broken
                // build from hanging here.
                QTimer::singleShot(20000, &dialog, [&dialog] { dialog.reject(); });
                return dialog.exec();
            }
            return int(QDialog::Rejected);
        };
        platform::setDebugSink([this](std::string_view line) {
            const std::lock_guard lock(debugMutex);
            debugLines.emplace_back(line);
        });
    }

    void TearDown() override {
        platform::setDebugSink({});
        unsetenv("QUORREL_NETSH");
    }

    void select(const QString& name) {
        for (int row = 0; row < view->rowCount(); ++row) {
            if (QString::fromStdString(view->cellText(row, 0)) == name) {
                view->selectionModel()->select(
                    view->model()->index(row, 0),
                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                return;
            }
        }
        FAIL() << name.toStdString();
    }

    bool checked(const QString& name) const {
        for (int row = 0; row < view->rowCount(); ++row) {
            if (QString::fromStdString(view->cellText(row, 0)) == name) {
                const QVariant mark =
                    view->model()->data(view->model()->index(row, 0), Qt::DecorationRole);
                return mark.isValid() && !mark.value<QIcon>().isNull();
            }
        }
        return false;
    }

    std::string netshCalls() const {
        return std::filesystem::exists(log) ? test::readFileBytes(log) : std::string();
    }

    bool traced(const std::string& text) {
        const std::lock_guard lock(debugMutex);
        for (const std::string& line : debugLines) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
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

    int confirmAnswer = QDialog::Accepted;
    std::vector<std::array<QString, 4>> confirmed;
    int progressRuns = 0;
    std::mutex debugMutex;
    std::vector<std::string> debugLines;
};

TEST_F(FrameApplyTest, WithoutAnAdapterItOnlyAsksForOne) {
    frame->chosenAdapter().currentSettings.reset();
    frame->runCommand(ID_PROFILE_APPLY);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kChooseAdapterFirst);
    EXPECT_EQ(prompter.messages[0].caption, texts::kAppTitle);
    EXPECT_TRUE(confirmed.empty());
    EXPECT_EQ(netshCalls(), "");
}

TEST_F(FrameApplyTest, AnAdapterWhoseNameTheLinesCannotCarryIsRefusedBeforeAnythingRuns) {
    select("사무실");
    frame->chosenAdapter().currentSettings->connectionName = "lan\"0";
    frame->runCommand(ID_PROFILE_APPLY);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, texts::kUnusableAdapterCaption);
    EXPECT_NE(prompter.messages[0].text.find("lan\"0"), std::string::npos);
    EXPECT_TRUE(confirmed.empty());
    EXPECT_EQ(progressRuns, 0);
    EXPECT_EQ(frame->applyRun().applyBusy, 0);
    EXPECT_EQ(netshCalls(), "");
}

TEST_F(FrameApplyTest, DecliningTheConfirmationChangesNothing) {
    select("설정[1]");
    confirmAnswer = QDialog::Rejected;
    frame->runCommand(ID_PROFILE_APPLY);
    ASSERT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(confirmed[0], (std::array<QString, 4>{"로컬 영역 연결", "DHCP", "DHCP", "DHCP"}));
    EXPECT_EQ(progressRuns, 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(frame->applyRun().applyBusy, 0);
    EXPECT_EQ(netshCalls(), "");
}

TEST_F(FrameApplyTest, SuccessMarksOnlyTheAppliedProfileAndReadsTheAdaptersAgain) {
    select("사무실");
    // What the adapter table reports once the lines have run.
    table.entries = {test::tableEntry("eth7", 0, "192.168.0.10", "255.255.255.0", "192.168.0.1")};
    frame->runCommand(ID_POPUP_APPLY);

    ASSERT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(confirmed[0], (std::array<QString, 4>{"로컬 영역 연결", "192.168.0.10",
                                                    "255.255.255.0", "192.168.0.1"}));
    EXPECT_EQ(netshCalls(),
              "interface|ip|set|address|로컬 영역 연결|source=static|addr=192.168.0.10|"
              "mask=255.255.255.0|gateway=192.168.0.1|1|\n"
              "interface|ip|set|dns|name=로컬 영역 연결|source=static|10.0.0.53|primary|\n");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kApplyDoneText);
    EXPECT_EQ(prompter.messages[0].caption, texts::kApplyDoneCaption);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);

    EXPECT_EQ(frame->applyRun().lastAppliedName, "사무실");
    EXPECT_EQ(frame->profiles().profileList.findByName("사무실")->isCurrent, 1);
    EXPECT_EQ(frame->profiles().profileList.findByName("설정[1]")->isCurrent, 0);
    EXPECT_TRUE(checked("사무실"));
    EXPECT_FALSE(checked("설정[1]"));
    ASSERT_TRUE(frame->chosenAdapter().currentSettings);
    EXPECT_EQ(frame->chosenAdapter().currentSettings->ipAddress, "192.168.0.10");
    EXPECT_EQ(frame->chosenAdapter().currentSettings->useDhcp, 0);
    EXPECT_EQ(frame->chosenAdapter().currentSettings->connectionName, "로컬 영역 연결");
    EXPECT_EQ(frame->windowTitle(),
              QString::fromUtf8("Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결]"));
    EXPECT_EQ(frame->applyRun().applyBusy, 0);
    EXPECT_TRUE(traced("사무실"));
}

// The network the sensor sees behind every adapter.
class OneNetwork final : public platform::NetworkSensor {
public:
    platform::NetworkFingerprint look(const std::string&, std::chrono::milliseconds) override {
        return {"00:11:22:AA:BB:01", ""};
    }
};

TEST_F(FrameApplyTest, TheNetworkIsRememberedForTheProfileInUseAndThenForTheOneApplied) {
    frame.reset();
    const std::string networkFile = temp.path() + "quorrel.net";
    FrameServices services{prompter,         urls,      *files, *codec, temp.path(),
                           QSize(1024, 768), &registry, &table, &keys};
    services.networkSensor = [] { return std::make_unique<OneNetwork>(); };
    frame = std::make_unique<CMainFrame>(std::move(services));
    view = frame->view();
    frame->profiles().profileList.append(test::fixedProfile("사무실", "192.168.0.10"));
    frame->OnInitialUpdate();
    // At start-up, for the profile the adapter uses ("설정[1]" in the code page).
    ASSERT_TRUE(test::waitWithEvents([&] { return std::filesystem::exists(networkFile); }));
    EXPECT_EQ(test::readFileBytes(networkFile), "\xBC\xB3\xC1\xA4[1]||00:11:22:AA:BB:01||\r\n");

    select("사무실");
    frame->runCommand(ID_POPUP_APPLY);
    ASSERT_EQ(frame->applyRun().lastAppliedName, "사무실");
    ASSERT_TRUE(test::waitWithEvents([&] {
        return test::readFileBytes(networkFile) ==
               "\xBB\xE7\xB9\xAB\xBD\xC7||00:11:22:AA:BB:01||\r\n";
    }));
}

TEST_F(FrameApplyTest, AFailingLineReportsFailureAndKeepsMarksAndAdapterPicture) {
    select("고장");
    table.entries = {test::tableEntry("eth7", 0, "172.16.0.1", "255.255.0.0")};
    frame->runCommand(ID_PROFILE_APPLY);

    EXPECT_NE(netshCalls().find(kFailingAddress), std::string::npos);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kApplyFailedText);
    EXPECT_EQ(prompter.messages[0].caption, texts::kApplyFailedCaption);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(frame->applyRun().lastAppliedName, "");
    EXPECT_EQ(frame->profiles().profileList.findByName("설정[1]")->isCurrent, 1);
    EXPECT_EQ(frame->profiles().profileList.findByName("고장")->isCurrent, 0);
    EXPECT_TRUE(checked("설정[1]"));
    EXPECT_EQ(frame->chosenAdapter().currentSettings->ipAddress, "10.1.1.5");
    EXPECT_EQ(frame->applyRun().applyBusy, 0);
}

TEST_F(FrameApplyTest, AnApplyUnderWayOrAnUnknownNameStopsSilently) {
    select("사무실");
    frame->applyRun().applyBusy = 1;
    frame->runCommand(ID_PROFILE_APPLY);
    EXPECT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(progressRuns, 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(frame->applyRun().applyBusy, 1);

    frame->applyRun().applyBusy = 0;
    frame->OnProfileApply(std::string("없는 이름"));
    EXPECT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(progressRuns, 0);
    EXPECT_EQ(netshCalls(), "");
}

TEST_F(FrameApplyTest, ANamedApplyConfirmsAndAppliesThatProfilesOwnValues) {
    select("설정[1]");  // the selection plays no part
    IpProfile* office = frame->profiles().profileList.findByName("사무실");
    office->name = "본사";
    office->gateway = "192.168.0.254";
    frame->OnProfileApply(std::string("본사"));

    ASSERT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(confirmed[0][3], "192.168.0.254");
    EXPECT_NE(netshCalls().find("gateway=192.168.0.254|1|"), std::string::npos);
    EXPECT_EQ(frame->applyRun().lastAppliedName, "본사");
    EXPECT_EQ(frame->profiles().profileList.findByName("본사")->isCurrent, 1);
}

TEST_F(FrameApplyTest, ADoubleClickOnTheSelectedRowAppliesIt) {
    select("사무실");
    frame->show();
    int row = 0;
    while (view->cellText(row, 0) != "사무실") {
        ++row;
    }
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(progressRuns, 1);
    EXPECT_EQ(frame->applyRun().lastAppliedName, "사무실");
}

}  // namespace
}  // namespace quorrel
