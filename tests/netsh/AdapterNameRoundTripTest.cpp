// The apply's adapter-name rule against what our netsh really reads from the lines: a name
// the rule lets through comes back whole from every line, a name it refuses does not.

#include <gtest/gtest.h>

#include "apply/AdapterNameRule.h"
#include "apply/ApplyPlan.h"
#include "netsh/CommandLineParser.h"
#include "system/CommandLine.h"

namespace quorrel::netsh {
namespace {

// True when every line of both kinds of profile names `name` to netsh.
bool everyLineCarries(const std::string& name) {
    IpProfile fixed;
    fixed.ipAddress = "10.0.0.5";
    fixed.subnetMask = "255.255.255.0";
    fixed.gateway = "10.0.0.1";
    fixed.primaryDns = "10.0.0.53";
    fixed.secondaryDns = "10.0.0.54";
    IpProfile dhcp;
    dhcp.useDhcp = 1;
    dhcp.dnsAuto = 1;
    const ApplyPlan plans[] = {buildApplyPlan(fixed, name), buildApplyPlan(dhcp, name)};
    for (const ApplyPlan& plan : plans) {
        for (const std::string& line : {plan.addressLine, plan.dnsLine, plan.secondDnsLine}) {
            if (line.empty()) {
                continue;
            }
            std::vector<std::string> args = system::splitCommandLine(line);
            args.erase(args.begin());
            const ParseOutcome parsed = parseCommandLine(args);
            if (!parsed.command || parsed.command->interfaceName != name) {
                return false;
            }
        }
    }
    return true;
}

// (A name that starts with "=" happens to come back whole, but the rule refuses every "=":
// one simple rule to explain, for a character no adapter name needs.)
TEST(AdapterNameRoundTrip, TheRuleAgreesWithWhatNetshReads) {
    for (const std::string name :
         {"eth0", "로컬 영역 연결", "a\\b",        "\\\\x",  "100%",  "lan#1",  "'q'",
          "a b",  "tab\there",      "x\\ y",       "",       "\"",    "lan\"0", "\"lan0\"",
          "a=b",  "name=eth1",      "source=dhcp", "eth0\\", "a\\\\", "a\\\"b", "x="}) {
        EXPECT_EQ(adapterNameFitsCommandLines(name), everyLineCarries(name)) << name;
    }
}

}  // namespace
}  // namespace quorrel::netsh
