#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply/ApplyPlan.h"
#include "cli/ApplySteps.h"
#include "cli/ExitCode.h"
#include "resources/ApplyTexts.h"
#include "tests/core/CommandLineRunFixture.h"
#include "tests/core/FakeConnectionProbe.h"

namespace quorrel {
namespace {

using platform::ProcessOutcome;
using test::CommandLineRunTest;
using test::dhcpProfile;
using test::fixedProfile;
using test::kDataFile;

// --check and --try: eth0 has the fixed configuration of "집" (10.77.0.20) before the apply
// of "연구실"; putting it back runs the lines of that configuration.
class CommandLineTrialTest : public CommandLineRunTest {
public:
    void SetUp() override {
        CommandLineRunTest::SetUp();
        writeProfiles(
            {fixedProfile("연구실", "10.77.0.30").gateway("10.77.0.1").dns("10.77.0.53")});
        world.probe->reading.found = true;
        world.probe->reading.up = true;
        world.probe->reading.addresses = {"10.77.0.30"};
        world.probe->gatewayAnswer = test::FakeConnectionProbe::answer("ARP");
        world.probe->dnsAnswer = test::FakeConnectionProbe::answer("DNS");
    }
    // How many lines put the previous address back.
    std::size_t putBackLines() {
        std::size_t count = 0;
        for (const std::string& line : runner->started()) {
            count += line.find("addr=10.77.0.20 ") != std::string::npos ? 1u : 0u;
        }
        return count;
    }
    const std::string applied = "addr=10.77.0.30 ";
};

TEST_F(CommandLineTrialTest, CheckReportsEachLineAndFailsOnlyByItsExitCode) {
    EXPECT_EQ(run({"--apply", "연구실", "--check"}), 0) << err;
    EXPECT_NE(out.find("  [정상] 게이트웨이 10.77.0.1: 응답함 (ARP"), std::string::npos) << out;
    EXPECT_NE(out.find("  [정상] DNS 서버 10.77.0.53: 응답함 ("), std::string::npos) << out;
    EXPECT_EQ(putBackLines(), 0u);

    out.clear();
    world.probe->gatewayAnswer = test::FakeConnectionProbe::silence();
    EXPECT_EQ(run({"--apply", "연구실", "--check"}), 8);
    EXPECT_NE(out.find("  [실패] 게이트웨이 10.77.0.1: 응답 없음"), std::string::npos) << out;
    EXPECT_NE(err.find("새 설정은 그대로 두었습니다."), std::string::npos) << err;
    EXPECT_EQ(putBackLines(), 0u);
    // Nobody was asked: --check never waits for an answer.
    EXPECT_EQ(out.find("y, 바로 되돌리려면"), std::string::npos);
}

TEST_F(CommandLineTrialTest, TryKeepsOnlyWhatTheUserConfirmsInTime) {
    struct Case {
        const char* what;
        bool gatewayAnswers;
        std::vector<std::string> answers;
        int exit;
        std::size_t putBack;
        const char* says;
    };
    const Case cases[] = {
        {"confirmed", true, {"", "maybe", " y "}, 0, 0, "새 설정을 유지합니다."},
        {"n", true, {"n"}, 9, 1, "이전 설정으로 되돌렸습니다."},
        {"a check fails", false, {"y"}, 9, 1, "이전 설정으로 되돌렸습니다."},
        {"no answer", true, {}, 9, 1, "시간 안에 답이 없었습니다."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        runner = std::make_shared<test::FakeProcessRunner>();
        out.clear();
        err.clear();
        answers = c.answers;
        world.probe->gatewayAnswer = c.gatewayAnswers ? test::FakeConnectionProbe::answer("ARP")
                                                      : test::FakeConnectionProbe::silence();
        EXPECT_EQ(run({"--apply", "연구실", "--try", "5"}), c.exit) << out << err;
        EXPECT_EQ(putBackLines(), c.putBack) << out;
        EXPECT_NE((out + err).find(c.says), std::string::npos) << out << err;
    }
    // Unanswered, the countdown was shown from its start down to its last second.
    EXPECT_NE(out.find("1초 안에 확인하지 않으면 이전 설정으로 돌아갑니다"), std::string::npos);
    EXPECT_NE(out.find("5초 안에 확인하지 않으면 이전 설정으로 돌아갑니다"), std::string::npos);
}

TEST_F(CommandLineTrialTest, AFailedPutBackKeepsThePreviousSettingsAsARestoreProfile) {
    const ApplyPlan back = buildApplyPlan(
        fixedProfile("", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.1", "8.8.8.8"), "eth0");
    runner->answer(back.addressLine, ProcessOutcome::exited(1));
    answers = {"n"};
    EXPECT_EQ(run({"--apply", "연구실", "--try", "30"}), 10) << out << err;
    EXPECT_NE(err.find("\"복원[1]\" 항목으로 저장해 두었으니"), std::string::npos) << err;
    const std::string& file = files.files[kDataFile];
    EXPECT_EQ(file.find("연구실||FALSE||10.77.0.30"), 0u) << file;
    EXPECT_NE(
        file.find("\r\n복원[1]||FALSE||10.77.0.20||255.255.255.0||10.77.0.1||FALSE||10.77.0.1||"
                  "8.8.8.8\r\n"),
        std::string::npos)
        << file;
}

TEST_F(CommandLineTrialTest, AFailedApplyIsNotTriedAndWritesNothing) {
    runner->answer(
        buildApplyPlan(fixedProfile("연구실", "10.77.0.30").gateway("10.77.0.1").dns("10.77.0.53"),
                       "eth0")
            .addressLine,
        ProcessOutcome::exited(1));
    const std::string before = files.files[kDataFile];
    EXPECT_EQ(run({"--apply", "연구실", "--try", "5"}), 1);
    EXPECT_EQ(putBackLines(), 0u);
    EXPECT_EQ(world.probe->linkReads, 0);
    EXPECT_EQ(files.files[kDataFile], before);
    expectSettingsOnlyRead();
}

}  // namespace
}  // namespace quorrel
