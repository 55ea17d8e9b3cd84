// netsh's command line: the arguments are the input cut at each NUL byte.

#include "netsh/CommandLineParser.h"
#include "netsh/CommandValidator.h"
#include "netsh/DirectRoad.h"
#include "netsh/MessageQuote.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

class AnyInterface final : public quorrel::netsh::InterfaceProbe {
public:
    bool exists(const std::string& name) const override { return name != "gone0"; }
    bool isLoopback(const std::string& name) const override { return name == "lo"; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorrel;
    const auto args = fuzz::wordsOf(fuzz::textOf(data, size), '\0');
    const netsh::ParseOutcome parsed = netsh::parseCommandLine(args);
    fuzz::require(parsed.command.has_value() != !parsed.error.empty());
    if (!parsed.command) {
        return 0;
    }
    const AnyInterface interfaces;
    if (const auto checked = netsh::validateCommand(*parsed.command, interfaces)) {
        // What passes the checks can be described, and its name quoted, without surprise.
        fuzz::require(!netsh::describeCommand(*checked).empty());
        fuzz::require(netsh::quoteForMessage(parsed.command->interfaceName).find('\n') ==
                      std::string::npos);
    }
    return 0;
}
