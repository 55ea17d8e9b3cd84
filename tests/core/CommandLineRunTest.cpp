#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply/ApplyPlan.h"
#include "cli/ApplySteps.h"
#include "cli/ExitCode.h"
#include "resources/ApplyTexts.h"
#include "tests/core/CommandLineRunFixture.h"

namespace quorrel {
namespace {

using platform::ProcessOutcome;
using test::CommandLineRunTest;
using test::dhcpProfile;
using test::fixedProfile;
using test::kDataFile;
using test::tableEntry;

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

TEST_F(CommandLineRunTest, WhereNamesTheNetworkAndTheProfileUsedOnIt) {
    files.files["/data/quorrel.net"] = "집||00:11:22:AA:BB:02||\r\n";
    networksSeen["eth0"] = {"00:11:22:aa:bb:02", ""};
    networksSeen["wlan0"] = {"00:11:22:AA:BB:77", "Cafe"};
    EXPECT_EQ(run({"--where"}), 0);
    EXPECT_EQ(out,
              "어댑터 \"eth0\"이(가) 연결된 네트워크:\n"
              "  게이트웨이 MAC 주소: 00:11:22:aa:bb:02\n"
              "이 네트워크에서 쓰는 프로필: \"집\"\n");

    out.clear();
    EXPECT_EQ(run({"--where", "--adapter", "wlan0"}), 11);
    EXPECT_NE(out.find("무선 네트워크 이름: Cafe\n"), std::string::npos) << out;
    EXPECT_NE(out.find("쓴 프로필이 없습니다"), std::string::npos) << out;

    // Nothing seen is nothing recognised, whatever the file holds.
    networksSeen.clear();
    out.clear();
    EXPECT_EQ(run({"--where"}), 11);
    EXPECT_NE(out.find("알아볼 수 없습니다"), std::string::npos) << out;
    EXPECT_EQ(networksAsked, (std::vector<std::string>{"eth0", "wlan0", "eth0"}));
    EXPECT_EQ(files.files.count("/data/quorrel.net"), 1u);
    expectSettingsOnlyRead();
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
