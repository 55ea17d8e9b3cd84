// The safety net of the main frame's apply against a stand-in netsh, with the connection
// check asking a fake probe on a fake clock: the menu entry and its setting, the check
// dialog with its countdown, and putting the previous configuration back.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "apply/ui/CApplyCheckDlg.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "base/CommandIds.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "resources/ApplyTexts.h"
#include "resources/SafetyTexts.h"
#include "tests/core/FakeConnectionProbe.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

constexpr const char* kSettingsKey = "SOFTWARE\\Varnok\\Quorrel";

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

class FrameSafetyNetTest : public ::testing::Test {
protected:
    void SetUp() override {
        log = temp.path() + "netsh.log";
        failFlag = temp.path() + "fail";
        const std::string script = temp.path() + "netsh";
        test::writeFileBytes(script, "#!/bin/sh\nprintf '%s|' \"$@\" >> '" + log + "'\necho >> '" +
                                         log + "'\n[ -e '" + failFlag + "' ] && exit 1\nexit 0\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        setenv("QUORREL_NETSH", script.c_str(), 1);

        // The adapter's present configuration: fixed, with its own DNS server.
        table.entries = {test::tableEntry("eth7", 0, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
        keys.add("eth7", "로컬 영역 연결", "10.1.1.53");
        makeFrame();
    }

    void makeFrame() {
        frame.reset();
        frame =
            std::make_unique<CMainFrame>(FrameServices{prompter, urls, *files, *codec, temp.path(),
                                                       QSize(1024, 768), &registry, &table, &keys});
        frame->setConnectionChecks([this] { return world.services(); });
        if (frame->profiles().profileList.findByName("사무실") == nullptr) {
            frame->profiles().profileList.append(test::fixedProfile("사무실", "192.168.0.10")
                                                     .gateway("192.168.0.1")
                                                     .dns("10.0.0.53"));
        }
        frame->OnInitialUpdate();
        prompter.messages.clear();
        prompter.onDialog = [this](QDialog& dialog) {
            if (dynamic_cast<CApplyConfirmDlg*>(&dialog) != nullptr) {
                return int(QDialog::Accepted);
            }
            if (dynamic_cast<CApplyProgressDlg*>(&dialog) != nullptr) {
                QTimer::singleShot(20000, &dialog, [&dialog] { dialog.reject(); });
                return dialog.exec();
            }
            if (auto* check = dynamic_cast<CApplyCheckDlg*>(&dialog)) {
                ++checkDialogs;
                return onCheck ? onCheck(*check) : int(QDialog::Rejected);
            }
            return int(QDialog::Rejected);
        };
    }

    void TearDown() override { unsetenv("QUORREL_NETSH"); }

    // The probe's answers: the link carries 사무실's address; the gateway answers or not.
    void network(bool gatewayAnswers) {
        world.probe->reading.found = true;
        world.probe->reading.up = true;
        world.probe->reading.addresses = {"192.168.0.10"};
        world.probe->gatewayAnswer = gatewayAnswers ? test::FakeConnectionProbe::answer("ARP")
                                                    : test::FakeConnectionProbe::silence();
        world.probe->dnsAnswer = test::FakeConnectionProbe::answer("DNS");
    }

    // Runs the dialog's checks out on the fake clock until it asks the user.
    void checkUntilAsked(CApplyCheckDlg& dialog) {
        dialog.start();
        for (int tick = 0; tick < 100 && dialog.trial().phase() == ApplyTrial::Phase::Checking;
             ++tick) {
            do {
                world.runJobs();
                dialog.poll();
            } while (!world.jobs.empty());
            world.advance(50ms);
        }
        ASSERT_EQ(dialog.trial().phase(), ApplyTrial::Phase::Asking);
    }

    void applyOffice() { frame->OnProfileApply(std::string("사무실")); }

    std::vector<std::string> netshLines() const {
        std::vector<std::string> lines;
        if (!std::filesystem::exists(log)) {
            return lines;
        }
        std::string all = test::readFileBytes(log);
        for (std::size_t at = 0; at < all.size();) {
            const std::size_t end = all.find('\n', at);
            lines.push_back(all.substr(at, end - at));
            at = end == std::string::npos ? all.size() : end + 1;
        }
        return lines;
    }

    bool putBackRan() const {
        for (const std::string& line : netshLines()) {
            if (line.find("addr=10.1.1.5|") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::string marked() const {
        const IpProfile* p = frame->profiles().markedProfile();
        return p != nullptr ? p->name : std::string();
    }

    test::TempFolder temp;
    std::string log;
    std::string failFlag;
    test::RecordingPrompter prompter;
    NoUrls urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    test::FakeCheckWorld world;
    std::unique_ptr<CMainFrame> frame;
    std::function<int(CApplyCheckDlg&)> onCheck;
    int checkDialogs = 0;
};

TEST_F(FrameSafetyNetTest, TheMenuEntryIsOffByDefaultAndRemembered) {
    QAction* entry = frame->menuAction(ID_CHECK_AFTER_APPLY);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QString::fromUtf8(texts::kMenuCheckAfterApply));
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(frame->applyRun().checkAfterApply);
    // The tools menu's entry after the apply command.
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    ASSERT_GE(menus[1]->menu()->actions().size(), 3);
    EXPECT_EQ(menus[1]->menu()->actions()[2], entry);

    entry->trigger();
    EXPECT_TRUE(entry->isChecked());
    EXPECT_TRUE(frame->applyRun().checkAfterApply);
    EXPECT_EQ(registry.dwordValue(kSettingsKey, "CheckAfterApply"), 1u);

    makeFrame();
    EXPECT_TRUE(frame->applyRun().checkAfterApply);
    EXPECT_TRUE(frame->menuAction(ID_CHECK_AFTER_APPLY)->isChecked());
    frame->menuAction(ID_CHECK_AFTER_APPLY)->trigger();
    EXPECT_EQ(registry.dwordValue(kSettingsKey, "CheckAfterApply"), 0u);
}

// The switches that follow it: off by default, and remembered as "적용 후 연결 확인" is.
TEST_F(FrameSafetyNetTest, AutomaticSwitchingAndTheTrayIconAreOffByDefaultAndRemembered) {
    struct Case {
        int command;
        const char* text;
        const char* value;
    };
    const Case cases[] = {
        {ID_AUTO_SWITCH, "자동 전환", "AutoSwitch"},
        {ID_SHOW_TRAY, "트레이 아이콘 표시", "ShowTrayIcon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        makeFrame();
        QAction* entry = frame->menuAction(c.command);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text().toStdString(), c.text);
        EXPECT_TRUE(entry->isCheckable());
        EXPECT_FALSE(entry->isChecked());
        entry->trigger();
        EXPECT_EQ(registry.dwordValue(kSettingsKey, c.value), 1u);
        makeFrame();
        EXPECT_TRUE(frame->menuAction(c.command)->isChecked());
        frame->menuAction(c.command)->trigger();
        EXPECT_EQ(registry.dwordValue(kSettingsKey, c.value), 0u);
    }
    EXPECT_FALSE(frame->autoSwitch());
}

TEST_F(FrameSafetyNetTest, TurnedOffTheApplyIsAsBefore) {
    network(false);
    applyOffice();
    EXPECT_EQ(checkDialogs, 0);
    EXPECT_EQ(netshLines().size(), 2u);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kApplyDoneText);
    EXPECT_EQ(marked(), "사무실");
}

TEST_F(FrameSafetyNetTest, PassingChecksCountDownAndTheUserKeepsTheNewSettings) {
    frame->runCommand(ID_CHECK_AFTER_APPLY);
    network(true);
    onCheck = [this](CApplyCheckDlg& dialog) {
        EXPECT_EQ(dialog.lineText(CheckKind::Link)->text().toStdString(),
                  "[확인 중] 연결: 로컬 영역 연결 확인 중...");
        checkUntilAsked(dialog);
        EXPECT_EQ(dialog.statusText()->text().toStdString(), texts::kCheckPassedText);
        EXPECT_EQ(dialog.lineText(CheckKind::Link)->text().toStdString(),
                  "[정상] 연결: 로컬 영역 연결 연결됨, 주소 192.168.0.10");
        EXPECT_EQ(dialog.lineText(CheckKind::Gateway)->text().toStdString(),
                  "[정상] 게이트웨이 192.168.0.1: 응답함 (ARP, 0ms)");
        EXPECT_EQ(dialog.lineText(CheckKind::Dns)->text().toStdString(),
                  "[정상] DNS 서버 10.0.0.53: 응답함 (0ms)");
        EXPECT_EQ(dialog.countdownText()->text().toStdString(),
                  "30초 안에 확인하지 않으면 이전 설정으로 돌아갑니다");
        world.advance(12s);
        dialog.poll();
        EXPECT_EQ(dialog.countdownText()->text().toStdString(),
                  "18초 안에 확인하지 않으면 이전 설정으로 돌아갑니다");
        EXPECT_EQ(dialog.keepButton()->text().toStdString(), texts::kKeepButton);
        dialog.keepButton()->click();
        return dialog.result();
    };
    applyOffice();
    EXPECT_EQ(checkDialogs, 1);
    EXPECT_FALSE(putBackRan());
    EXPECT_EQ(netshLines().size(), 2u);
    EXPECT_EQ(marked(), "사무실");
    EXPECT_EQ(frame->applyRun().lastAppliedName, "사무실");
}

// A failed check offers to go back (예) or to stay (아니오); the countdown runs meanwhile,
// and the close box also goes back.
TEST_F(FrameSafetyNetTest, AFailedCheckOffersThePreviousSettings) {
    struct Case {
        const char* name;
        std::function<void(CApplyCheckDlg&)> answer;
        bool putBack;
    };
    const Case cases[] = {
        {"예", [](CApplyCheckDlg& d) { d.putBackButton()->click(); }, true},
        {"아니오", [](CApplyCheckDlg& d) { d.keepButton()->click(); }, false},
        {"close box", [](CApplyCheckDlg& d) { d.reject(); }, true},
        {"countdown",
         [this](CApplyCheckDlg& d) {
             world.advance(29'900ms);
             d.poll();
             EXPECT_EQ(d.trial().phase(), ApplyTrial::Phase::Asking);
             world.advance(100ms);
             d.poll();
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(log);
        SetUp();
        frame->applyRun().checkAfterApply = true;
        network(false);
        onCheck = [&](CApplyCheckDlg& dialog) {
            checkUntilAsked(dialog);
            EXPECT_EQ(dialog.statusText()->text().toStdString(), texts::kCheckFailedText);
            EXPECT_EQ(dialog.putBackButton()->text().toStdString(), texts::kYesButton);
            EXPECT_EQ(dialog.keepButton()->text().toStdString(), texts::kNoButton);
            EXPECT_TRUE(dialog.countdownText()->text().startsWith("30초"));
            EXPECT_EQ(dialog.lineText(CheckKind::Gateway)->text().toStdString(),
                      "[실패] 게이트웨이 192.168.0.1: 응답 없음 (0ms 기다림)");
            c.answer(dialog);
            EXPECT_EQ(dialog.trial().phase(), ApplyTrial::Phase::Decided);
            return dialog.result();
        };
        prompter.messages.clear();
        applyOffice();
        EXPECT_EQ(putBackRan(), c.putBack);
        if (c.putBack) {
            // The previous configuration, applied as the profile it is.
            ASSERT_EQ(netshLines().size(), 4u);
            EXPECT_EQ(netshLines()[2],
                      "interface|ip|set|address|로컬 영역 연결|source=static|addr=10.1.1.5|"
                      "mask=255.255.255.0|gateway=10.1.1.1|1|");
            EXPECT_EQ(marked(), "설정[1]");
            EXPECT_EQ(frame->applyRun().lastAppliedName, "");
            ASSERT_EQ(prompter.messages.size(), 2u);
            EXPECT_EQ(prompter.messages[1].text, texts::kPutBackDoneText);
        } else {
            EXPECT_EQ(netshLines().size(), 2u);
            EXPECT_EQ(marked(), "사무실");
        }
    }
}

TEST_F(FrameSafetyNetTest, AFailedPutBackKeepsThePreviousSettingsAsARestoreProfile) {
    frame->applyRun().checkAfterApply = true;
    network(false);
    onCheck = [this](CApplyCheckDlg& dialog) {
        checkUntilAsked(dialog);
        test::writeFileBytes(failFlag, "");  // the put-back's lines fail
        dialog.putBackButton()->click();
        return dialog.result();
    };
    applyOffice();
    ASSERT_TRUE(putBackRan());
    const IpProfile* kept = frame->profiles().profileList.findByName("복원[1]");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->ipAddress, "10.1.1.5");
    EXPECT_EQ(kept->primaryDns, "10.1.1.53");
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().caption, texts::kPutBackFailedCaption);
    EXPECT_NE(prompter.messages.back().text.find("\"복원[1]\""), std::string::npos);
    // Already in the data file.
    const std::string data = test::readFileBytes(frame->profiles().dataFilePath());
    std::string name;
    ASSERT_TRUE(codec->encode("복원[1]", name));
    EXPECT_NE(data.find(name), std::string::npos);
    EXPECT_EQ(frame->applyRun().applyBusy, 0);
}

}  // namespace
}  // namespace quorrel
