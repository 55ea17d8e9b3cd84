#pragma once

#include <optional>
#include <string>
#include <vector>

#include "netsh/NetshCommand.h"

namespace quorrel::netsh {

struct ParseOutcome {
    std::optional<NetshCommand> command;
    std::string error;  // set when there is no command
};

// Reads the arguments after the program name, already split like a Windows command line
// (quotes removed, so a name with blanks is one argument):
//
//   interface ip set address [name=]NAME [source=]dhcp
//   interface ip set address [name=]NAME [source=]static [addr=]A [mask=]M
//                            [[gateway=]G|none [[gwmetric=]N]]
//   interface ip set dns [name=]NAME [source=]dhcp [register=...]
//   interface ip set dns [name=]NAME [source=]static [[addr=]A|none] [[register=]R]
//   interface ip add dns [name=]NAME [addr=]A [[index=]N]
//
// "int" and "ipv4" may stand for "interface" and "ip"; keywords, tags and the values of
// source, register and none are case-insensitive. An argument without a tag fills the next
// parameter not given yet, in the order shown. In set dns an untagged none, primary or both
// right after static means that no server is given (the plan writes "static  primary" when
// it has no server). Values are not checked here; see CommandValidator.
ParseOutcome parseCommandLine(const std::vector<std::string>& args);

// The forms above, for the usage message.
std::string usageText();

}  // namespace quorrel::netsh
