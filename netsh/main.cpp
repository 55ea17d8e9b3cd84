// netsh: changes an interface's IPv4 address, gateway and DNS servers from the command
// lines the apply plan writes ("interface ip set address ...", "interface ip set dns ...",
// "interface ip add dns ..."). Chooses the road per interface: through NetworkManager when
// it manages the interface, a refusal when systemd-networkd does, else directly (which
// needs root). Exits 0 once the change is in effect; with kNetshNeedsRightsExit when the
// interface must be changed directly and this run has no rights (nothing is changed then);
// otherwise says why on standard error and exits 1. Also serves as the event script of the
// DHCP client it starts.

#include <sys/stat.h>

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
#include "netsh/InterfaceOwner.h"
#include "netsh/InterfaceProbe.h"
#include "netsh/NetworkManagerRoad.h"
#include "netsh/RunEnvironment.h"
#include "netsh/SafeFolder.h"
#include "netsh/StateKeeper.h"
#include "platform/linux/NetshRights.h"
#include "platform/linux/NetworkManager.h"

namespace {

using namespace quorrel::netsh;

std::optional<std::string> environmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

int fail(const std::string& message) {
    std::cerr << "netsh: " << message << "\n";
    return 1;
}

int runDhcpHook(const std::vector<std::string>& args, const RunEnvironment& run) {
    const auto event = readDhcpEvent(args, environmentValue);
    if (!event) {
        return fail(event.error());
    }
    auto runner = makeProcessCommandRunner(run.toolSearchPath);
    auto dns = makeSystemDnsConfigurator(*runner, run.resolvConf, run.toolSearchPath);
    auto interfaces = makeKernelInterfaceProbe();
    StateKeeper states(run.stateFolder, *dns, *interfaces);
    const quorrel::Done applied =
        applyDhcpEvent(*event, *runner, states, static_cast<std::int64_t>(std::time(nullptr)));
    return applied ? 0 : fail(applied.error());
}

int carryOut(NetshRoad& road, const NetshCommand& command) {
    const quorrel::Done done = road.carryOut(command);
    for (const auto& note : road.notes()) {
        std::cout << "netsh: " << note << "\n";
    }
    if (!done) {
        return fail(done.error());
    }
    std::cout << "Ok.\n";
    return 0;
}

int changeDirectly(const NetshCommand& command, const RunEnvironment& run,
                   InterfaceProbe& interfaces) {
    if (!hasNetworkAdminRights()) {
        std::cerr << "netsh: no network manager manages " << command.interfaceName
                  << ", so changing it needs administrator rights; nothing was changed\n";
        return quorrel::platform::kNetshNeedsRightsExit;
    }
    if (!run.trustsCaller) {
        if (auto problem = secureFolder(run.stateFolder); !problem.empty()) {
            return fail(problem + "; nothing was changed");
        }
    }
    auto runner = makeProcessCommandRunner(run.toolSearchPath);
    auto dhcp = makeProcessDhcpClient(run.stateFolder, run.leaseWait, run.toolSearchPath);
    auto dns = makeSystemDnsConfigurator(*runner, run.resolvConf, run.toolSearchPath);
    StateKeeper states(run.stateFolder, *dns, interfaces);
    DirectRoad road(*runner, *dhcp, states, hasNetworkAdminRights, checkAddressFree);
    return carryOut(road, command);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const RunEnvironment run =
        readRunEnvironment(environmentValue, runsWithRights(), overridesTakenWithRights());
    if (run.withRights) {
        // The caller's umask would decide who may write root's files.
        ::umask(022);
    }
    if (isDhcpHookCall(environmentValue)) {
        return runDhcpHook(args, run);
    }

    const ParseOutcome parsed = parseCommandLine(args);
    if (!parsed.command) {
        std::cerr << "netsh: " << parsed.error << "\n" << usageText();
        return 1;
    }
    auto interfaces = makeKernelInterfaceProbe();
    const quorrel::Expected<NetshCommand> checked = validateCommand(*parsed.command, *interfaces);
    if (!checked) {
        return fail(checked.error());
    }
    const NetshCommand& command = *checked;

    auto connected = quorrel::platform::connectNetworkManager(run.trustsCaller);
    auto nm = connected ? std::move(*connected) : nullptr;
    const quorrel::Expected<OwnerFinding> found =
        findInterfaceOwner(command.interfaceName, nm.get(), kNetworkdStateFolder);
    if (!found) {
        return fail("cannot ask NetworkManager about " + command.interfaceName + ": " +
                    found.error() + "; nothing was changed");
    }
    const OwnerFinding& owner = *found;
    switch (owner.owner) {
        case InterfaceOwner::NetworkManager: {
            NetworkManagerRoad::Timing timing;
            timing.leaseWait = run.leaseWait;
            NetworkManagerRoad road(*nm, *owner.device, timing);
            return carryOut(road, command);
        }
        case InterfaceOwner::SystemdNetworkd:
            return fail(networkdRefusal(command.interfaceName, owner.networkFile));
        case InterfaceOwner::Nobody:
            break;
    }
    return changeDirectly(command, run, *interfaces);
}
