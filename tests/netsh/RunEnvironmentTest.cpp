#include "netsh/RunEnvironment.h"

#include <gtest/gtest.h>

#include <map>

namespace quorrel::netsh {
namespace {

const std::map<std::string, std::string> kCallersEnvironment = {
    {"QUORREL_NETSTATE_DIR", "/home/user/state//"},
    {"QUORREL_RESOLV_CONF", "/home/user/resolv.conf"},
    {"QUORREL_DHCP_WAIT_MS", "250"},
    {"PATH", "/home/user/bin"},
};

std::optional<std::string> lookup(const std::string& name) {
    const auto found = kCallersEnvironment.find(name);
    return found == kCallersEnvironment.end() ? std::nullopt
                                              : std::optional<std::string>(found->second);
}

TEST(RunEnvironmentTest, WithRightsOnlyTheTestBuildTakesTheCallersOverrides) {
    const struct {
        const char* what;
        bool withRights;
        bool overridesWithRights;
        bool takesOverrides;
    } cases[] = {
        {"a user's run", false, false, true},
        {"the installed netsh with rights", true, false, false},
        {"netsh-testing with rights", true, true, true},
    };
    for (const auto& c : cases) {
        const RunEnvironment run = readRunEnvironment(lookup, c.withRights, c.overridesWithRights);
        EXPECT_EQ(run.trustsCaller, c.takesOverrides) << c.what;
        if (c.takesOverrides) {
            EXPECT_EQ(run.stateFolder, "/home/user/state") << c.what;
            EXPECT_EQ(run.resolvConf, "/home/user/resolv.conf") << c.what;
            EXPECT_EQ(run.leaseWait, std::chrono::milliseconds(250)) << c.what;
            EXPECT_EQ(run.toolSearchPath, std::string("/home/user/bin:") + kSystemToolFolders)
                << c.what;
        } else {
            EXPECT_EQ(run.stateFolder, kFixedStateFolder) << c.what;
            EXPECT_EQ(run.resolvConf, std::nullopt) << c.what;
            EXPECT_EQ(run.leaseWait, std::chrono::seconds(10)) << c.what;
            EXPECT_EQ(run.toolSearchPath, kSystemToolFolders) << c.what;
        }
    }
}

}  // namespace
}  // namespace quorrel::netsh
