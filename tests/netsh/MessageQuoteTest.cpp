#include "netsh/MessageQuote.h"

#include <gtest/gtest.h>

#include "netsh/CommandLineParser.h"
#include "netsh/CommandValidator.h"
#include "tests/netsh/NetshFakes.h"

namespace quorrel::netsh {
namespace {

TEST(MessageQuote, EscapesWhatCouldForgeOrGarbleALine) {
    const struct {
        std::string value;
        std::string quoted;
    } cases[] = {
        {"eth0", "\"eth0\""},
        {"", "\"\""},
        {"a\nnetsh: Ok.", "\"a\\nnetsh: Ok.\""},
        {"tab\there\r", "\"tab\\there\\r\""},
        {"\x1b[2J", "\"\\x1B[2J\""},
        {std::string("nul\0x", 5), "\"nul\\x00x\""},
        {"del\x7f", "\"del\\x7F\""},
        {"say \"hi\" \\", "\"say \\\"hi\\\" \\\\\""},
        {"로컬 영역 연결", "\"로컬 영역 연결\""},
        {"\xc2\x9b"
         "1m",
         "\"\\xC2\\x9B1m\""},  // C1 control sequence introducer
        {"\xff\xfe"
         "a",
         "\"\\xFF\\xFEa\""},                      // not UTF-8
        {"\xed\xa0\x80", "\"\\xED\\xA0\\x80\""},  // a UTF-16 surrogate
        {"\xe2\x82", "\"\\xE2\\x82\""},           // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quoteForMessage(c.value), c.quoted);
    }
}

TEST(MessageQuote, ALongValueIsCutAtACharacterAndItsLengthGiven) {
    EXPECT_EQ(quoteForMessage(std::string(100000, 'x'), 5), "\"xxxxx\"... (100000 bytes in all)");
    EXPECT_EQ(quoteForMessage(std::string(40, 'x')), "\"" + std::string(40, 'x') + "\"");
    // Five Hangul syllables of three bytes each: the cut falls between syllables.
    EXPECT_EQ(quoteForMessage("가나다라마", 2), "\"가나\"... (15 bytes in all)");
    EXPECT_EQ(quoteForMessage("\n\n\n", 2), "\"\\n\\n\"... (3 bytes in all)");
}

// Every refusal that repeats an argument shows a bounded, escaped piece of it.
TEST(MessageQuote, RefusalsNeverEchoAWholeHostileArgument) {
    const std::string huge(100000, 'A');
    const std::string forged = "x\nnetsh: Ok.\n";
    const std::vector<std::vector<std::string>> lines = {
        {huge, "ip", "set", "address", "eth0", "source=dhcp"},
        {"interface", forged, "set", "address", "eth0", "source=dhcp"},
        {"interface", "ip", "set", huge},
        {"interface", "ip", "set", "address", "eth0", huge + "=1"},
        {"interface", "ip", "set", "address", "eth0", "source=" + forged},
        {"interface", "ip", "add", "dns", "eth0", "10.0.0.1", "2", huge},
        {"interface", "ip", "set", "dns", "eth0", "static", "10.0.0.1", "register=" + huge},
    };
    for (const auto& args : lines) {
        const ParseOutcome outcome = parseCommandLine(args);
        ASSERT_FALSE(outcome.command);
        EXPECT_LT(outcome.error.size(), 200u) << outcome.error.substr(0, 200);
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
    }

    fakes::FakeInterfaces interfaces({"eth0"});
    const auto refusal = [&interfaces](NetshCommand command) {
        const std::string error = validateCommand(command, interfaces).error();
        EXPECT_NE(error, "");
        EXPECT_LT(error.size(), 200u) << error.substr(0, 200);
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    };
    NetshCommand command;
    command.interfaceName = huge;
    refusal(command);
    command.interfaceName = forged;
    refusal(command);
    command.interfaceName = "eth0";
    command.address = huge;
    command.mask = "255.255.255.0";
    refusal(command);
    command.address = "10.0.0.5";
    command.mask = forged;
    refusal(command);
    command.mask = "255.255.255.0";
    command.gateway = "10.0.0.1";
    command.gatewayMetricText = huge;
    refusal(command);
    command.action = NetshAction::AddDns;
    command.address = forged;
    refusal(command);
}

}  // namespace
}  // namespace quorrel::netsh
