// The safety net from the main window to the network (root only): the real frame applies
// through our netsh in a namespace of the test's own, the checks ask the peer side for
// real (dnsmasq answering DHCP there, and DNS on 10.77.0.53), and a failed check or the
// countdown brings the previous configuration back.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "apply/ui/CApplyCheckDlg.h"
#include "resources/ApplyTexts.h"
#include "resources/SafetyTexts.h"
#include "tests/e2e/ApplyStage.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/WaitUntil.h"

namespace quorrel {
namespace {

using test::ApplyStage;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

enum class Answer { Keep, PutBack, LetTheCountdownRunOut };

// What the network looks like from inside.
struct Picture {
    std::string addresses;
    std::string route;
    std::vector<std::string> nameservers;
    bool operator==(const Picture&) const = default;
};

class SafetyNetInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = ApplyStage::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        stage = std::make_unique<ApplyStage>(QUORREL_NETSH_PATH);
        startDnsServer();
        stage->open({
            test::fixedProfile("이전", "10.77.0.30").gateway("10.77.0.1").dns("10.77.0.53"),
            test::fixedProfile("정상", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.53"),
            test::fixedProfile("틀린 게이트웨이", "10.77.0.21")
                .gateway("10.77.0.254")
                .dns("10.77.0.53"),
            test::fixedProfile("죽은 DNS", "10.77.0.22").gateway("10.77.0.1").dns("10.77.0.99"),
        });
        // The configuration to go back to, set without the safety net.
        stage->apply("이전");
        ASSERT_EQ(stage->prompter.messages.back().text, texts::kApplyDoneText);
        before = picture();
        ASSERT_EQ(before.addresses, "10.77.0.30/24");

        CMainFrame& frame = stage->frame();
        frame.setConnectionChecks([skew = skew] {
            ConnectionCheckServices services;
            services.probe = platform::makeSystemConnectionProbe();
            services.now = [skew] { return Clock::now() + milliseconds(skew->load()); };
            return services;
        });
        frame.applyRun().checkAfterApply = true;
        stage->prompter.onOtherDialog = [this](QDialog& dialog) { return runCheck(dialog); };
    }

    // A DNS server of its own on the peer side; it knows no names and has no upstream, so
    // it answers every question with an error, which counts as an answer.
    void startDnsServer() {
        test::NetworkNamespace& ns = stage->network();
        ASSERT_EQ(ns.runInPeer({"ip", "addr", "add", "10.77.0.53/24", "dev", "peer0"}).exitCode, 0);
        const test::CommandOutput started = test::runCommand(
            {"ip", "netns", "exec", ns.peerName(), "dnsmasq", "--no-resolv", "--no-hosts",
             "--port=53", "--listen-address=10.77.0.53", "--bind-interfaces", "--user=root",
             "--pid-file=", "--log-facility=/dev/null"});
        ASSERT_EQ(started.exitCode, 0) << started.output;
        ASSERT_TRUE(test::waitUntil([&] {
            return ns.runInPeer({"ss", "-uln", "sport", "=", ":53"}).output.find("10.77.0.53") !=
                   std::string::npos;
        }));
    }

    Picture picture() const {
        return {stage->addresses(), stage->defaultRoute(), stage->nameservers()};
    }

    // The check dialog, run for real; once it asks, the answer of the round is given.
    int runCheck(QDialog& dialog) {
        auto* check = dynamic_cast<CApplyCheckDlg*>(&dialog);
        if (check == nullptr) {
            return QDialog::Rejected;
        }
        ++checkDialogs;
        bool answered = false;
        QTimer watcher;
        watcher.setInterval(10);
        QObject::connect(&watcher, &QTimer::timeout, check, [&] {
            if (answered || check->trial().phase() != ApplyTrial::Phase::Asking) {
                return;
            }
            answered = true;
            checksPassed = check->trial().checks().allPassed();
            checksTook = check->trial().checks().elapsed();
            lines.clear();
            for (const CheckLine& line : check->trial().lines()) {
                lines.push_back(line.text);
            }
            countdownShown = check->countdownText()->text().toStdString();
            switch (answer) {
                case Answer::Keep:
                    check->keepButton()->click();
                    break;
                case Answer::PutBack:
                    check->putBackButton()->click();
                    break;
                case Answer::LetTheCountdownRunOut:
                    *skew += 30'000;  // the clock of the checks jumps past the countdown
                    break;
            }
        });
        watcher.start();
        bool guardFired = false;
        QTimer::singleShot(20'000, check, [&] {
            guardFired = true;
            check->done(QDialog::Rejected);
        });
        const int result = check->exec();
        checkEndedAt = Clock::now();
        EXPECT_FALSE(guardFired) << "the check dialog did not end by itself";
        return result;
    }

    // The time from the end of the check dialog to the put-back's message.
    milliseconds putBackTook() const {
        const auto& times = stage->prompter.messageTimes;
        return times.empty()
                   ? milliseconds(-1)
                   : std::chrono::duration_cast<milliseconds>(times.back() - checkEndedAt);
    }

    std::string lastMessage() const {
        return stage->prompter.messages.empty() ? std::string()
                                                : stage->prompter.messages.back().text;
    }

    std::unique_ptr<ApplyStage> stage;
    std::shared_ptr<std::atomic<long long>> skew = std::make_shared<std::atomic<long long>>(0);
    Picture before;
    Answer answer = Answer::PutBack;
    int checkDialogs = 0;
    bool checksPassed = false;
    milliseconds checksTook{0};
    std::vector<std::string> lines;
    std::string countdownShown;
    Clock::time_point checkEndedAt{};
};

TEST_F(SafetyNetInNamespace, FailedChecksPutThePreviousConfigurationBack) {
    struct Case {
        const char* profile;
        std::size_t failedLine;
        const char* text;
    };
    const Case cases[] = {
        {"틀린 게이트웨이", 1, "[실패] 게이트웨이 10.77.0.254: 응답 없음"},
        {"죽은 DNS", 2, "[실패] DNS 서버 10.77.0.99: 응답 없음"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        answer = Answer::PutBack;
        stage->apply(c.profile);
        EXPECT_FALSE(checksPassed);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0],
                  "[정상] 연결: lan0 연결됨, 주소 " +
                      stage->frame().profiles().profileList.findByName(c.profile)->ipAddress);
        EXPECT_EQ(lines[c.failedLine].rfind(c.text, 0), 0u) << lines[c.failedLine];
        EXPECT_LE(checksTook, milliseconds(3000));
        EXPECT_EQ(lastMessage(), texts::kPutBackDoneText);
        EXPECT_EQ(picture(), before);
        EXPECT_TRUE(stage->checked("이전"));
        EXPECT_FALSE(stage->checked(c.profile));
        EXPECT_EQ(stage->frame().chosenAdapter().currentSettings->ipAddress, "10.77.0.30");
    }
}

TEST_F(SafetyNetInNamespace, AGoodProfilePassesEveryCheckAndIsKept) {
    answer = Answer::Keep;
    stage->apply("정상");
    EXPECT_EQ(checkDialogs, 1);
    EXPECT_TRUE(checksPassed);
    EXPECT_EQ(lines[0], "[정상] 연결: lan0 연결됨, 주소 10.77.0.20");
    EXPECT_EQ(lines[1].rfind("[정상] 게이트웨이 10.77.0.1: 응답함", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("[정상] DNS 서버 10.77.0.53: 응답함", 0), 0u) << lines[2];
    EXPECT_LT(checksTook, milliseconds(1000));
    EXPECT_EQ(countdownShown, "30초 안에 확인하지 않으면 이전 설정으로 돌아갑니다");
    EXPECT_EQ(stage->addresses(), "10.77.0.20/24");
    EXPECT_TRUE(stage->checked("정상"));
}

TEST_F(SafetyNetInNamespace, TheCountdownRunningOutPutsTheGoodProfileBackToo) {
    answer = Answer::LetTheCountdownRunOut;
    stage->apply("정상");
    EXPECT_TRUE(checksPassed);
    EXPECT_EQ(lastMessage(), texts::kPutBackDoneText);
    EXPECT_EQ(picture(), before);
    EXPECT_TRUE(stage->checked("이전"));
}

// The figures of the report: medians of five runs.
TEST_F(SafetyNetInNamespace, Timings) {
    std::vector<long long> good;
    std::vector<long long> failed;
    std::vector<long long> putBack;
    for (int round = 0; round < 5; ++round) {
        answer = Answer::Keep;
        stage->apply("정상");
        ASSERT_TRUE(checksPassed);
        good.push_back(checksTook.count());

        answer = Answer::PutBack;
        stage->apply("틀린 게이트웨이");
        ASSERT_FALSE(checksPassed);
        failed.push_back(checksTook.count());
        ASSERT_EQ(lastMessage(), texts::kPutBackDoneText);
        putBack.push_back(putBackTook().count());
    }
    const auto median = [](std::vector<long long> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::cout << "checks, all passing: median " << median(good) << " ms\n"
              << "checks, gateway silent: median " << median(failed) << " ms\n"
              << "put-back (apply of the restore point): median " << median(putBack) << " ms\n";
    RecordProperty("checks_passing_ms", std::to_string(median(good)));
    RecordProperty("checks_failing_ms", std::to_string(median(failed)));
    RecordProperty("put_back_ms", std::to_string(median(putBack)));
    EXPECT_LT(median(good), 1000);
    EXPECT_LE(median(failed), 3000);
}

}  // namespace
}  // namespace quorrel
