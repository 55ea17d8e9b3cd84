// netsh: changes an interface's IPv4 address, gateway and DNS servers from the command
// lines the apply plan writes ("interface ip set address ...", "interface ip set dns ...",
// "interface ip add dns ..."). Exits 0 once the change is in effect; otherwise says why on
// standard error and exits 1. Also serves as the event script of the DHCP client it starts.

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "netsh/AddressConflict.h"
#include "netsh/AdminRights.h"
#include "netsh/CommandLineParser.h"
#include "netsh/CommandValidator.h"
#include "netsh/DhcpClient.h"
#include "netsh/DhcpHook.h"
#include "netsh/DirectRoad.h"
#include "netsh/DnsConfigurator.h"
#include "netsh/InterfaceProbe.h"
#include "netsh/StateKeeper.h"
#include "platform/linux/NetworkState.h"

namespace {

using namespace quorrel::netsh;

std::optional<std::string> environmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

// How long `set address source=dhcp` waits for a lease: 10 s, or
// $QUORREL_DHCP_WAIT_MS milliseconds (1 to 600000) when set.
std::chrono::milliseconds leaseWait() {
    if (const auto text = environmentValue("QUORREL_DHCP_WAIT_MS")) {
        if (const auto ms = parseBoundedNumber(*text, 1, 600000)) {
            return std::chrono::milliseconds(*ms);
        }
    }
    return std::chrono::seconds(10);
}

int fail(const std::string& message) {
    std::cerr << "netsh: " << message << "\n";
    return 1;
}

int runDhcpHook(const std::vector<std::string>& args) {
    std::string error;
    const auto event = readDhcpEvent(args, environmentValue, error);
    if (!event) {
        return fail(error);
    }
    auto runner = makeProcessCommandRunner();
    auto dns = makeSystemDnsConfigurator(*runner);
    auto interfaces = makeKernelInterfaceProbe();
    StateKeeper states(quorrel::platform::networkStateFolder(), *dns, *interfaces);
    error = applyDhcpEvent(*event, *runner, states, static_cast<std::int64_t>(std::time(nullptr)));
    return error.empty() ? 0 : fail(error);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (isDhcpHookCall(environmentValue)) {
        return runDhcpHook(args);
    }

    const ParseOutcome parsed = parseCommandLine(args);
    if (!parsed.command) {
        std::cerr << "netsh: " << parsed.error << "\n" << usageText();
        return 1;
    }
    const NetshCommand& command = *parsed.command;
    auto interfaces = makeKernelInterfaceProbe();
    if (auto problem = validateCommand(command, *interfaces); !problem.empty()) {
        return fail(problem);
    }

    // The road is chosen per interface; today every interface is changed directly.
    const std::string folder = quorrel::platform::networkStateFolder();
    auto runner = makeProcessCommandRunner();
    auto dhcp = makeProcessDhcpClient(folder, leaseWait());
    auto dns = makeSystemDnsConfigurator(*runner);
    StateKeeper states(folder, *dns, *interfaces);
    DirectRoad road(*runner, *dhcp, states, hasNetworkAdminRights, checkAddressFree);

    const std::string error = road.carryOut(command);
    for (const auto& note : road.notes()) {
        std::cout << "netsh: " << note << "\n";
    }
    if (!error.empty()) {
        return fail(error);
    }
    std::cout << "Ok.\n";
    return 0;
}
