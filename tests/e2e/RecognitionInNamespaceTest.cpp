// Recognition from the link to the offer (root only): the real frame watches "lan0" in a
// namespace of the test's own; the network "moves" when the peer's end loses its carrier and
// comes back with the link address of another gateway. The network is remembered after an
// apply, recognised on the link change and offered; with 자동 전환 the profile is applied,
// checked, and put back when its check fails.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <iostream>

#include "app/ui/CMainFrame.h"
#include "apply/ui/CApplyCheckDlg.h"
#include "base/CommandIds.h"
#include "resources/ApplyTexts.h"
#include "resources/RecognitionTexts.h"
#include "resources/SafetyTexts.h"
#include "tests/e2e/ApplyStage.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/WaitUntil.h"

namespace quorrel {
namespace {

using test::ApplyStage;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kOfficeMac = "02:00:00:00:A0:01";
constexpr const char* kLabMac = "02:00:00:00:B0:02";

void turnEvents() {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
}

class RecognitionInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = ApplyStage::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        stage = std::make_unique<ApplyStage>(QUORREL_NETSH_PATH, true);
        stage->open({
            test::fixedProfile("사무실", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.53"),
            test::fixedProfile("실험실", "10.77.0.30").gateway("10.77.0.1").dns("10.77.0.53"),
            test::fixedProfile("죽은 DNS", "10.77.0.22").gateway("10.77.0.1").dns("10.77.0.99"),
        });
        stage->prompter.onOtherDialog = [this](QDialog& dialog) { return runCheck(dialog); };
    }

    // The cable out, and in again on a network whose gateway has the link address `mac`
    // (the same gateway address, as two offices often have). Returns when the link is up.
    Clock::time_point moveTo(const char* mac) {
        test::NetworkNamespace& ns = stage->network();
        EXPECT_EQ(ns.runInPeer({"ip", "link", "set", "peer0", "down"}).exitCode, 0);
        EXPECT_TRUE(test::waitUntil([&] {
            return ns.run({"ip", "link", "show", "lan0"}).output.find("NO-CARRIER") !=
                   std::string::npos;
        }));
        EXPECT_EQ(ns.runInPeer({"ip", "link", "set", "peer0", "address", mac}).exitCode, 0);
        EXPECT_EQ(ns.runInPeer({"ip", "link", "set", "peer0", "up"}).exitCode, 0);
        return Clock::now();
    }

    // Applies `profile` by the list, as the user does, and waits until its network is
    // remembered as `mac`.
    void applyAndRemember(const std::string& profile, const char* mac) {
        stage->apply(profile);
        ASSERT_TRUE(stage->checked(profile));
        ASSERT_TRUE(test::waitUntil(
            [&] {
                const NetworkFingerprint* held =
                    stage->frame().profiles().networks.networkOf(profile);
                return held != nullptr && held->gatewayMac == mac;
            },
            test::kPatience, turnEvents))
            << profile << " was not remembered on " << mac;
    }

    // Waits until the frame's recognition has taken a look at the network of `mac`.
    bool waitForLook(const char* mac) {
        return test::waitUntil(
            [&] {
                const auto& seen = stage->frame().recognition().lastSeen();
                return seen && seen->gatewayMac == mac;
            },
            test::kPatience, turnEvents);
    }

    // Waits for the offer after `since`; the time it took, or -1 ms without one.
    milliseconds waitForOffer(std::size_t messagesBefore, Clock::time_point since) {
        const StagePrompterView seen{stage->prompter};
        if (!test::waitUntil([&] { return seen.offerAfter(messagesBefore) >= 0; }, test::kPatience,
                             turnEvents)) {
            return milliseconds(-1);
        }
        const auto at = static_cast<std::size_t>(seen.offerAfter(messagesBefore));
        return std::chrono::duration_cast<milliseconds>(stage->prompter.messageTimes[at] - since);
    }

    struct StagePrompterView {
        const test::StagePrompter& prompter;
        // The index of the first offer from `from` on, or -1.
        long offerAfter(std::size_t from) const {
            for (std::size_t i = from; i < prompter.messages.size(); ++i) {
                if (prompter.messages[i].caption == texts::kRecognisedTitle) {
                    return static_cast<long>(i);
                }
            }
            return -1;
        }
    };

    // The check dialog after an automatic switch runs for real and decides by itself.
    int runCheck(QDialog& dialog) {
        auto* check = dynamic_cast<CApplyCheckDlg*>(&dialog);
        if (check == nullptr) {
            return QDialog::Rejected;
        }
        ++checkDialogs;
        bool guardFired = false;
        QTimer::singleShot(20'000, check, [&] {
            guardFired = true;
            check->done(QDialog::Rejected);
        });
        const int result = check->exec();
        EXPECT_FALSE(guardFired) << "the check dialog did not end by itself";
        checkResult = check->trial().result();
        for (const CheckLine& line : check->trial().lines()) {
            checkLines.push_back(line.text);
        }
        return result;
    }

    std::unique_ptr<ApplyStage> stage;
    int checkDialogs = 0;
    std::optional<TrialResult> checkResult;
    std::vector<std::string> checkLines;
};

TEST_F(RecognitionInNamespace, TheOtherNetworkIsOfferedWithinASecondOfTheLinkChange) {
    moveTo(kOfficeMac);
    applyAndRemember("사무실", kOfficeMac);
    moveTo(kLabMac);
    applyAndRemember("실험실", kLabMac);

    // The user declines: nothing changes, and the offer comes again on the next move there.
    stage->prompter.yesNoAnswer = MessageResult::No;
    std::vector<long long> took;
    for (int round = 0; round < 5; ++round) {
        const std::size_t before = stage->prompter.messages.size();
        const Clock::time_point linkUp = moveTo(kOfficeMac);
        const milliseconds offer = waitForOffer(before, linkUp);
        ASSERT_GE(offer.count(), 0) << "no offer in round " << round;
        took.push_back(offer.count());
        const Message& shown = stage->prompter.messages[before];
        EXPECT_EQ(shown.text,
                  "'사무실' 프로필을 쓰던 네트워크에 연결되었습니다.\n"
                  "어댑터 lan0에 '사무실' 프로필을 적용할까요?");
        EXPECT_EQ(shown.buttons, MessageButtons::YesNo);
        EXPECT_EQ(stage->addresses(), "10.77.0.30/24");
        EXPECT_TRUE(stage->checked("실험실"));
        // Back on the network of the profile in use: nothing to offer.
        const std::size_t atLab = stage->prompter.messages.size();
        moveTo(kLabMac);
        ASSERT_TRUE(waitForLook(kLabMac));
        EXPECT_EQ(StagePrompterView{stage->prompter}.offerAfter(atLab), -1);
    }
    std::sort(took.begin(), took.end());
    std::cout << "link up -> offer: median " << took[took.size() / 2] << " ms, slowest "
              << took.back() << " ms (of " << took.size() << ")\n";
    RecordProperty("link_to_offer_median_ms", std::to_string(took[took.size() / 2]));
    RecordProperty("link_to_offer_max_ms", std::to_string(took.back()));
    EXPECT_LT(took[took.size() / 2], 1000);
}

TEST_F(RecognitionInNamespace, YesAppliesAndAutomaticSwitchingIsCheckedAndPutBack) {
    moveTo(kOfficeMac);
    applyAndRemember("사무실", kOfficeMac);
    moveTo(kLabMac);
    applyAndRemember("죽은 DNS", kLabMac);
    const int confirmations = stage->prompter.confirmations;

    // 예 to the offer applies without another confirmation.
    std::size_t before = stage->prompter.messages.size();
    ASSERT_GE(waitForOffer(before, moveTo(kOfficeMac)).count(), 0);
    ASSERT_TRUE(
        test::waitUntil([&] { return stage->checked("사무실"); }, test::kPatience, turnEvents));
    EXPECT_EQ(stage->addresses(), "10.77.0.20/24");
    EXPECT_EQ(stage->prompter.confirmations, confirmations);
    EXPECT_EQ(checkDialogs, 0);
    // The apply's own look, which remembers its network, ends before the next move.
    ASSERT_TRUE(test::waitUntil([&] { return stage->looksFinished() == stage->looksStarted(); },
                                test::kPatience, turnEvents));

    // With 자동 전환 (and 적용 후 연결 확인 off) the move applies 죽은 DNS by itself; its DNS
    // check fails and the previous settings come back.
    ASSERT_FALSE(stage->frame().applyRun().checkAfterApply);
    stage->frame().runCommand(ID_AUTO_SWITCH);
    ASSERT_TRUE(stage->frame().autoSwitch());
    before = stage->prompter.messages.size();
    moveTo(kLabMac);
    ASSERT_TRUE(test::waitUntil(
        [&] {
            const auto& messages = stage->prompter.messages;
            return std::any_of(messages.begin() + static_cast<long>(before), messages.end(),
                               [](const Message& m) { return m.text == texts::kPutBackDoneText; });
        },
        test::kPatience, turnEvents));
    EXPECT_EQ(checkDialogs, 1);
    ASSERT_TRUE(checkResult.has_value());
    EXPECT_FALSE(checkResult->checksPassed);
    EXPECT_EQ(checkResult->decision, TrialDecision::PutBack);
    ASSERT_EQ(checkLines.size(), 3u);
    EXPECT_EQ(checkLines[2].rfind("[실패] DNS 서버 10.77.0.99", 0), 0u) << checkLines[2];
    EXPECT_EQ(StagePrompterView{stage->prompter}.offerAfter(before), -1) << "asked, not switched";
    EXPECT_EQ(stage->prompter.confirmations, confirmations);
    EXPECT_EQ(stage->addresses(), "10.77.0.20/24");
    EXPECT_TRUE(stage->checked("사무실"));
}

}  // namespace
}  // namespace quorrel
