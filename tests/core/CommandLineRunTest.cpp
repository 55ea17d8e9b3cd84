#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apply/ApplyPlan.h"
#include "cli/ApplySteps.h"
#include "cli/CommandLineRun.h"
#include "cli/ExitCode.h"
#include "resources/ApplyTexts.h"
#include "resources/ProfileTexts.h"
#include "tests/core/FakeConnectionProbe.h"
#include "tests/core/FakeProcessRunner.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/PassThroughCodec.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using platform::ProcessOutcome;
using test::dhcpProfile;
using test::fixedProfile;
using test::tableEntry;

constexpr const char* kDataFile = "/data/quorrel.dat";

// The adapter report of the status view: hands over its pieces, then ends, or keeps the
// collection waiting until it is told to stop.
class FakeReport final : public system::OutputCapture {
public:
    FakeReport(bool starts, std::vector<std::string> pieces, bool ends)
        : starts_(starts), pieces_(std::move(pieces)), ends_(ends) {}
    bool start(std::string& reason) override {
        reason = "ipconfig not found";
        return starts_;
    }
    bool collect(const system::OutputPiece& piece, const system::StopRequest& stop) override {
        for (const auto& p : pieces_) {
            piece(p);
        }
        while (!ends_ && !stop()) {
            std::this_thread::yield();
        }
        return ends_;
    }

private:
    bool starts_;
    std::vector<std::string> pieces_;
    bool ends_;
};

class CommandLineRunTest : public ::testing::Test {
public:
    void SetUp() override {
        registry.putString(texts::kSettingsKeyPath, texts::kPathValue, "/data");
        registry.putDword(texts::kSettingsKeyPath, texts::kAutoCheckValue, 1);
        registry.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, "eth0");
        writeProfiles(
            {dhcpProfile("사무실"),
             fixedProfile("집", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.1", "8.8.8.8"),
             fixedProfile("실험실", "192.168.50.10")});
        // eth0 has the fixed configuration of "집".
        table.entries = {tableEntry("eth0", 0, "10.77.0.20", "255.255.255.0", "10.77.0.1"),
                         tableEntry("wlan0", 1, "172.16.0.9", "255.255.0.0", "172.16.0.1")};
        keys.add("eth0", "eth0", "10.77.0.1,8.8.8.8");
        keys.add("wlan0", "wlan0");
    }

    void writeProfiles(const std::vector<IpProfile>& profiles) {
        std::string bytes;
        for (const IpProfile& p : profiles) {
            bytes += p.name + "||" + (p.useDhcp ? "TRUE" : "FALSE") + "||" + p.ipAddress + "||" +
                     p.subnetMask + "||" + p.gateway + "||" + (p.dnsAuto ? "TRUE" : "FALSE") +
                     "||" + p.primaryDns + "||" + p.secondaryDns + "\r\n";
        }
        files.files[kDataFile] = bytes;
    }

    int run(const std::vector<std::string>& args) {
        CommandLineServices services{
            registry,
            files,
            codec,
            table,
            keys,
            '/',
            runner,
            [this]() -> std::unique_ptr<system::OutputCapture> {
                return std::make_unique<FakeReport>(reportStarts, reportPieces, reportEnds);
            },
            [](std::string_view bytes) { return std::string(bytes); },
            [this](std::string_view text) { append(out, text); },
            [this](std::string_view text) { append(err, text); },
            applyLimit,
            std::chrono::milliseconds(50),
            afterApply,
        };
        services.checks = world.services();
        services.readAnswer = [this]() -> std::optional<std::string> {
            if (answers.empty()) {
                return std::nullopt;
            }
            std::string line = answers.front();
            answers.erase(answers.begin());
            return line;
        };
        // The checks' questions answer at once; time passes only on the fake clock.
        services.trialSleep = [this](std::chrono::milliseconds period) {
            world.runJobs();
            world.advance(period);
        };
        return runCommandLine(parseCommandLine(args), services);
    }

    void append(std::string& stream, std::string_view text) {
        const std::lock_guard lock(mutex);
        stream += text;
    }

    // Every key the run opened was opened for reading; nothing was created.
    void expectSettingsOnlyRead() {
        for (const auto& [path, access] : registry.openLog()) {
            EXPECT_EQ(access, platform::RegAccess::Read) << path;
        }
    }

    test::MemoryRegistryStore registry;
    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    std::shared_ptr<test::FakeProcessRunner> runner = std::make_shared<test::FakeProcessRunner>();
    bool reportStarts = true;
    std::vector<std::string> reportPieces;
    bool reportEnds = true;
    std::chrono::milliseconds applyLimit{100000};
    std::function<ExitCode(const AppliedProfile&)> afterApply;
    test::FakeCheckWorld world;
    std::vector<std::string> answers;
    std::mutex mutex;
    std::string out;
    std::string err;
};

TEST_F(CommandLineRunTest, ListShowsTheProfilesAndMarksTheOneTheChosenAdapterUses) {
    EXPECT_EQ(run({"--list"}), 0);
    EXPECT_EQ(out,
              "프로필 3개 (/data/quorrel.dat)\n"
              "  이름    IP 주소        서브넷 마스크  게이트웨이  DNS\n"
              "  사무실  DHCP           -              -           자동\n"
              "* 집      10.77.0.20     255.255.255.0  10.77.0.1   10.77.0.1, 8.8.8.8\n"
              "  실험실  192.168.50.10  255.255.255.0  -           -\n"
              "* 어댑터 \"eth0\"이(가) 지금 쓰고 있는 프로필\n");
    EXPECT_EQ(err, "");

    // Chosen last: wlan0, a DHCP adapter, which the DHCP profile describes.
    registry.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, "wlan0");
    out.clear();
    EXPECT_EQ(run({"--list"}), 0);
    EXPECT_NE(out.find("\n* 사무실  DHCP"), std::string::npos) << out;
    EXPECT_NE(out.find("\n  집 "), std::string::npos) << out;
    EXPECT_NE(out.find("* 어댑터 \"wlan0\""), std::string::npos) << out;

    // No profile describes what the adapter has: no mark, and none is made up.
    table.entries[1].dhcpEnabled = 0;
    out.clear();
    EXPECT_EQ(run({"--list"}), 0);
    EXPECT_EQ(out.find('*'), std::string::npos) << out;
}

TEST_F(CommandLineRunTest, ApplyRunsTheWindowsLinesOnTheRememberedAdapterStepByStep) {
    EXPECT_EQ(run({"--apply", "집"}), 0) << err;
    const ApplyPlan plan = buildApplyPlan(
        fixedProfile("집", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.1", "8.8.8.8"), "eth0");
    EXPECT_EQ(runner->started(),
              (std::vector<std::string>{plan.addressLine, plan.dnsLine, plan.secondDnsLine}));
    EXPECT_EQ(out,
              "프로필 \"집\"을(를) 어댑터 \"eth0\"에 적용합니다.\n"
              "[1/3] IP 주소: 10.77.0.20, 서브넷 마스크 255.255.255.0, 게이트웨이 10.77.0.1\n"
              "      " +
                  plan.addressLine +
                  "\n"
                  "      -> 성공\n"
                  "[2/3] 기본 DNS 서버: 10.77.0.1\n"
                  "      " +
                  plan.dnsLine +
                  "\n"
                  "      -> 성공\n"
                  "[3/3] 보조 DNS 서버: 8.8.8.8\n"
                  "      " +
                  plan.secondDnsLine +
                  "\n"
                  "      -> 성공\n"
                  "IP 설정 변경이 완료되었습니다.\n"
                  "어댑터 \"eth0\"의 현재 설정: IP 주소 10.77.0.20, 서브넷 마스크 255.255.255.0, "
                  "게이트웨이 10.77.0.1, DNS 10.77.0.1, 8.8.8.8\n");
    EXPECT_EQ(err, "");
}

TEST_F(CommandLineRunTest, AStepAfterTheApplyRunsOnlyAfterASuccessAndGivesTheExitCode) {
    std::vector<std::string> seen;
    afterApply = [&](const AppliedProfile& applied) {
        seen.push_back(applied.profile.name + " " + applied.connectionName + " " +
                       std::to_string(out.find(texts::kApplyDoneText) != std::string::npos));
        return ExitCode::Failed;
    };
    EXPECT_EQ(run({"--apply", "사무실", "--adapter", "wlan0"}), 1);
    EXPECT_EQ(seen, std::vector<std::string>{"사무실 wlan0 1"});

    const ApplyPlan plan = buildApplyPlan(dhcpProfile("사무실"), "eth0");
    runner->answer(plan.addressLine, ProcessOutcome::exited(1));
    EXPECT_EQ(run({"--apply", "사무실"}), 1);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(CommandLineRunTest, AGivenAdapterWinsOverTheRememberedOne) {
    EXPECT_EQ(run({"--apply", "사무실", "--adapter", "wlan0"}), 0) << err;
    const ApplyPlan plan = buildApplyPlan(dhcpProfile("사무실"), "wlan0");
    EXPECT_EQ(runner->started(), (std::vector<std::string>{plan.addressLine, plan.dnsLine}));
    EXPECT_NE(out.find("[2/2] DNS 서버: DHCP로 자동으로 받기"), std::string::npos) << out;
}

TEST_F(CommandLineRunTest, WithoutARememberedAdapterTheFirstOneIsTakenAsInTheWindow) {
    registry.putDword(texts::kSettingsKeyPath, texts::kAutoCheckValue, 0);
    registry.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, "wlan0");
    EXPECT_EQ(run({"--apply", "실험실"}), 0) << err;
    ASSERT_FALSE(runner->started().empty());
    EXPECT_NE(runner->started().front().find("\"eth0\""), std::string::npos);
}

TEST_F(CommandLineRunTest, AFailingLineFailsTheApplyButTheLaterLinesStillRun) {
    const ApplyPlan plan = buildApplyPlan(
        fixedProfile("집", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.1", "8.8.8.8"), "eth0");
    runner->answer(plan.dnsLine, ProcessOutcome::exited(1));
    EXPECT_EQ(run({"--apply", "집"}), 1);
    EXPECT_EQ(runner->started().size(), 3u);
    EXPECT_NE(out.find("[2/3] 기본 DNS 서버: 10.77.0.1\n      " + plan.dnsLine +
                       "\n      -> 실패 (종료 코드 1)\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find(texts::kApplyDoneText), std::string::npos);
    EXPECT_EQ(err, std::string(texts::kApplyFailedText) + "\n");
}

TEST_F(CommandLineRunTest, WhatAFailingLineWroteOnStandardErrorIsPrintedAtItsStep) {
    const ApplyPlan plan = buildApplyPlan(
        fixedProfile("집", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.1", "8.8.8.8"), "eth0");
    runner->answer(plan.addressLine,
                   ProcessOutcome::exited(1, "netsh: 10.77.0.20 is already in use"));
    EXPECT_EQ(run({"--apply", "집"}), 1);
    EXPECT_NE(out.find("      " + plan.addressLine +
                       "\nnetsh: 10.77.0.20 is already in use\n      -> 실패 (종료 코드 1)\n"),
              std::string::npos)
        << out;
}

TEST_F(CommandLineRunTest, ACommandThatCannotStartIsReportedWithItsReasonAndTheBox) {
    const ApplyPlan plan = buildApplyPlan(dhcpProfile("사무실"), "eth0");
    runner->answer(plan.dnsLine, ProcessOutcome::notStarted("netsh not found"));
    EXPECT_EQ(run({"--apply", "사무실"}), 1);
    EXPECT_NE(out.find("      -> 실행하지 못함: netsh not found\n"), std::string::npos) << out;
    // The box the worker would show in the window comes first, then the failure.
    EXPECT_EQ(err, std::string(texts::kDnsFailed) + "\n" + texts::kApplyFailedText + "\n");
}

TEST_F(CommandLineRunTest, AnApplyThatOutlastsTheTimeLimitIsGivenUp) {
    const ApplyPlan plan = buildApplyPlan(dhcpProfile("사무실"), "eth0");
    runner->hold(plan.addressLine);
    applyLimit = std::chrono::milliseconds(50);
    EXPECT_EQ(run({"--apply", "사무실"}), 1);
    EXPECT_NE(err.find("0초 안에 끝나지 않아 기다리기를 멈추었습니다."), std::string::npos) << err;
    EXPECT_NE(err.find(texts::kApplyFailedText), std::string::npos) << err;
    runner->release(plan.addressLine);
}

TEST_F(CommandLineRunTest, BadInputIsRefusedWithItsOwnExitCodeBeforeAnythingRuns) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::function<void(CommandLineRunTest&)> arrange;
        ExitCode code;
        std::string message;
    };
    const auto none = [](CommandLineRunTest&) {};
    const std::vector<Case> cases = {
        {"bad option", {"--apply"}, none, ExitCode::BadOptions, "뒤에 값이 있어야 합니다."},
        {"unknown profile",
         {"--apply", "카페"},
         none,
         ExitCode::UnknownProfile,
         "\"카페\" 프로필이 없습니다."},
        {"names compare exactly",
         {"--apply", "집 "},
         none,
         ExitCode::UnknownProfile,
         "\"집 \" 프로필이 없습니다."},
        {"two profiles of the name",
         {"--apply", "집"},
         [](CommandLineRunTest& t) {
             t.writeProfiles({fixedProfile("집", "10.0.0.1"), fixedProfile("집", "10.0.0.2")});
         },
         ExitCode::AmbiguousProfile,
         "\"집\" 프로필이 2개 있어"},
        {"unknown adapter",
         {"--apply", "집", "--adapter", "eth9"},
         none,
         ExitCode::UnknownAdapter,
         "연결 이름이 \"eth9\"인 어댑터가 없습니다. 있는 어댑터: eth0, wlan0"},
        {"remembered adapter gone",
         {"--apply", "집"},
         [](CommandLineRunTest& t) {
             t.registry.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, "usb0");
         },
         ExitCode::UnknownAdapter,
         "마지막으로 고른 어댑터 \"usb0\"이(가) 지금 없습니다."},
        {"two adapters of the name",
         {"--apply", "집"},
         [](CommandLineRunTest& t) {
             t.table.entries.push_back(tableEntry("eth0b", 0));
             t.keys.add("eth0b", "eth0");
         },
         ExitCode::AmbiguousAdapter,
         "연결 이름이 \"eth0\"인 어댑터가 2개 있어"},
        {"name the lines cannot carry",
         {"--apply", "집", "--adapter", "a=b"},
         [](CommandLineRunTest& t) {
             t.table.entries.push_back(tableEntry("x", 0));
             t.keys.add("x", "a=b");
         },
         ExitCode::UnknownAdapter,
         "이 프로그램으로 설정할 수 없습니다."},
        {"no adapter at all",
         {"--apply", "집"},
         [](CommandLineRunTest& t) { t.table.entries.clear(); },
         ExitCode::UnknownAdapter,
         "설치되어진 랜카드가 없습니다."},
        {"no profile folder",
         {"--apply", "집"},
         [](CommandLineRunTest& t) { t.registry = test::MemoryRegistryStore(); },
         ExitCode::NoProfiles,
         "프로필 폴더가 아직 정해지지 않았습니다."},
        {"unreadable data file",
         {"--list"},
         [](CommandLineRunTest& t) { t.files.unreadable[kDataFile] = "Permission denied"; },
         ExitCode::NoProfiles,
         "프로필 파일 \"/data/quorrel.dat\"을(를) 읽지 못했습니다.\nPermission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        files.unreadable.clear();
        out.clear();
        err.clear();
        c.arrange(*this);
        EXPECT_EQ(run(c.args), exitStatus(c.code));
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(out, "");
        EXPECT_TRUE(runner->started().empty());
    }
}

TEST_F(CommandLineRunTest, NeitherTheSettingsNorTheProfileFileAreEverWritten) {
    // What the window would fill in at its start: a missing AutoCheck, a missing backup.
    registry = test::MemoryRegistryStore();
    registry.putString(texts::kSettingsKeyPath, texts::kPathValue, "/data");
    const auto before = files.files;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--list"}, {"--apply", "사무실"}, {"--apply", "없음"}, {"--status"}}) {
        run(args);
    }
    EXPECT_EQ(runner->started().size(), 2u);
    EXPECT_EQ(files.files, before);
    EXPECT_FALSE(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue));
    expectSettingsOnlyRead();
}

TEST_F(CommandLineRunTest, StatusPrintsTheWholeReport) {
    reportPieces = {"Windows IP 구성\r\n", "\r\n이더넷 어댑터 eth0:\r\n"};
    EXPECT_EQ(run({"--status"}), 0);
    EXPECT_EQ(out, "Windows IP 구성\r\n\r\n이더넷 어댑터 eth0:\r\n");
    EXPECT_EQ(err, "");
}

TEST_F(CommandLineRunTest, StatusThatCannotStartOrNeverEndsFails) {
    reportStarts = false;
    EXPECT_EQ(run({"--status"}), 1);
    EXPECT_EQ(err, "어댑터 현황을 읽지 못했습니다: ipconfig not found\n");

    reportStarts = true;
    reportPieces = {"part"};
    reportEnds = false;
    err.clear();
    EXPECT_EQ(run({"--status"}), 1);
    EXPECT_EQ(out, "part");
    EXPECT_NE(err.find("다 읽지 못했습니다"), std::string::npos) << err;
}

TEST_F(CommandLineRunTest, HelpListsEveryOptionAndExitCode) {
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* word : {"--list", "--apply", "--adapter", "--status", "--help"}) {
        EXPECT_NE(out.find(word), std::string::npos) << word;
    }
    for (const char* word : {"--check", "--try"}) {
        EXPECT_NE(out.find(word), std::string::npos) << word;
    }
    for (int code = 0; code <= 9; ++code) {
        EXPECT_NE(out.find("\n  " + std::to_string(code) + "  "), std::string::npos) << code;
    }
    EXPECT_EQ(run({"--bogus"}), 2);
    EXPECT_EQ(err, "알 수 없는 옵션입니다: --bogus\n도움말: quorrel --help\n");
}

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

TEST(ApplySteps, OneDescriptionPerLineThePlanRuns) {
    const std::vector<IpProfile> profiles = {
        dhcpProfile("a"),
        dhcpProfile("b").dns("1.1.1.1"),
        dhcpProfile("c").dns("1.1.1.1", "8.8.8.8"),
        fixedProfile("d", "10.0.0.5"),
        fixedProfile("e", "10.0.0.5").gateway("10.0.0.1").dns("", "8.8.8.8"),
    };
    for (const IpProfile& p : profiles) {
        SCOPED_TRACE(p.name);
        const ApplyPlan plan = buildApplyPlan(p, "eth0");
        const std::size_t lines = std::size_t{1} + (plan.dnsLine.empty() ? 0u : 1u) +
                                  (plan.secondDnsLine.empty() ? 0u : 1u);
        EXPECT_EQ(describeApplySteps(p).size(), lines);
    }
    EXPECT_EQ(describeApplySteps(fixedProfile("d", "10.0.0.5"))[1], "DNS 서버: 없음");
}

}  // namespace
}  // namespace quorrel
