#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLineOptions.h"

namespace quorrel {
namespace {

TEST(CommandLineOptions, OnlyDoubleDashOptionsAndDashHLeaveTheWindow) {
    EXPECT_FALSE(wantsCommandLine({}));
    // The toolkit's own options keep opening the window.
    EXPECT_FALSE(wantsCommandLine({"-platform", "offscreen"}));
    EXPECT_FALSE(wantsCommandLine({"-style=fusion"}));
    EXPECT_TRUE(wantsCommandLine({"--list"}));
    EXPECT_TRUE(wantsCommandLine({"-platform", "offscreen", "--status"}));
    EXPECT_TRUE(wantsCommandLine({"-h"}));
    // A misspelt option must not open a window in a script.
    EXPECT_TRUE(wantsCommandLine({"--lsit"}));
}

TEST(CommandLineOptions, ReadsEachCommandAndItsValues) {
    struct Case {
        std::vector<std::string> args;
        CliCommand command;
        std::string profile;
        std::optional<std::string> adapter;
    };
    const Case cases[] = {
        {{"--list"}, CliCommand::List, "", std::nullopt},
        {{"--status"}, CliCommand::Status, "", std::nullopt},
        {{"--help"}, CliCommand::Help, "", std::nullopt},
        {{"-h"}, CliCommand::Help, "", std::nullopt},
        {{"--apply", "사무실"}, CliCommand::Apply, "사무실", std::nullopt},
        {{"--apply=사무실"}, CliCommand::Apply, "사무실", std::nullopt},
        // Names are taken as they stand: blanks, a leading dash, "=" after the first one.
        {{"--apply", "내 집 (2층)"}, CliCommand::Apply, "내 집 (2층)", std::nullopt},
        {{"--apply", "-x"}, CliCommand::Apply, "-x", std::nullopt},
        {{"--apply=a=b"}, CliCommand::Apply, "a=b", std::nullopt},
        {{"--apply=--odd"}, CliCommand::Apply, "--odd", std::nullopt},
        {{"--apply", "집", "--adapter", "로컬 영역 연결"},
         CliCommand::Apply,
         "집",
         "로컬 영역 연결"},
        {{"--adapter=eth1", "--apply", "집"}, CliCommand::Apply, "집", "eth1"},
        {{"--apply="}, CliCommand::Apply, "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const CommandLineOptions options = parseCommandLine(c.args);
        EXPECT_EQ(options.error, "");
        EXPECT_EQ(options.command, c.command);
        EXPECT_EQ(options.profileName, c.profile);
        EXPECT_EQ(options.adapterName, c.adapter);
    }
}

TEST(CommandLineOptions, CheckAndTryGoWithApply) {
    const CommandLineOptions check = parseCommandLine({"--apply", "집", "--check"});
    EXPECT_EQ(check.error, "");
    EXPECT_TRUE(check.check);
    EXPECT_EQ(check.trySeconds, std::nullopt);
    const CommandLineOptions trial = parseCommandLine({"--try=3600", "--apply", "집"});
    EXPECT_EQ(trial.error, "");
    EXPECT_FALSE(trial.check);
    EXPECT_EQ(trial.trySeconds, 3600);
}

TEST(CommandLineOptions, RefusesWhatItCannotReadWithTheReason) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--lsit"}, "알 수 없는 옵션입니다: --lsit"},
        {{"--list", "extra"}, "알 수 없는 옵션입니다: extra"},
        {{"--list=all"}, "알 수 없는 옵션입니다: --list=all"},
        {{"--apply"}, "--apply 옵션 뒤에 값이 있어야 합니다."},
        {{"--apply", "--adapter", "eth0"}, "--apply 옵션 뒤에 값이 있어야 합니다."},
        {{"--apply", "집", "--adapter"}, "--adapter 옵션 뒤에 값이 있어야 합니다."},
        {{"--list", "--status"},
         "--list, --apply, --status, --where, --export, --help 가운데 하나만 줄 수 있습니다."},
        {{"--apply", "a", "--apply", "b"},
         "--list, --apply, --status, --where, --export, --help 가운데 하나만 줄 수 있습니다."},
        {{"--list", "--adapter", "eth0"},
         "--adapter는 --apply, --where, --export와 함께만 씁니다."},
        {{"--adapter", "eth0"}, "--adapter는 --apply, --where, --export와 함께만 씁니다."},
        {{"--apply", "a", "--adapter", "x", "--adapter", "y"},
         "--adapter 옵션을 두 번 주었습니다."},
        {{"--list", "--check"}, "--check와 --try는 --apply와 함께만 씁니다."},
        {{"--try", "30"}, "--check와 --try는 --apply와 함께만 씁니다."},
        {{"--apply", "a", "--try", "0"}, "--try 뒤에는 1에서 3600 사이의 초를 주어야 합니다: 0"},
        {{"--apply", "a", "--try=3601"}, "--try 뒤에는 1에서 3600 사이의 초를 주어야 합니다: 3601"},
        {{"--apply", "a", "--try", "1e3"},
         "--try 뒤에는 1에서 3600 사이의 초를 주어야 합니다: 1e3"},
        {{"--apply", "a", "--try", "-5"}, "--try 뒤에는 1에서 3600 사이의 초를 주어야 합니다: -5"},
        {{"--apply", "a", "--try", "5", "--try", "6"}, "--try 옵션을 두 번 주었습니다."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(parseCommandLine(c.args).error, c.error);
    }
}

}  // namespace
}  // namespace quorrel
