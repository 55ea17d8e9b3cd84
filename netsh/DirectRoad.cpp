#include "netsh/DirectRoad.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>

#include "netsh/CommandValidator.h"
#include "netsh/FileLock.h"
#include "netsh/IpRoute.h"
#include "netsh/Ipv4.h"
#include "netsh/MessageQuote.h"

namespace quorrel::netsh {

using platform::InterfaceState;

namespace {

void addProblem(std::string& problems, const Done& step) {
    if (!step) {
        problems += (problems.empty() ? "" : "; ") + step.error();
    }
}

// Runs the steps one after the other until one fails; that failure, or success.
Done inTurn(std::initializer_list<std::function<Done()>> steps) {
    for (const auto& step : steps) {
        if (Done done = step(); !done) {
            return done;
        }
    }
    return {};
}

int prefixOf(const std::string& mask) {
    const auto value = parseIpv4(mask);
    return value ? prefixLengthOf(*value).value_or(32) : 32;
}

}  // namespace

std::string describeCommand(const NetshCommand& command) {
    switch (command.action) {
        case NetshAction::SetAddress: {
            if (command.dhcp) {
                return "set address dhcp";
            }
            std::string text = "set address static " + command.address + "/" +
                               std::to_string(prefixOf(command.mask));
            if (!command.gateway.empty()) {
                text += " gateway " + command.gateway;
                if (command.gatewayMetric) {
                    text += " metric " + std::to_string(*command.gatewayMetric);
                }
            }
            return text;
        }
        case NetshAction::SetDns:
            return command.dhcp ? "set dns dhcp" : "set dns static " + command.address;
        case NetshAction::AddDns:
            return "add dns " + command.address +
                   (command.index ? " index " + std::to_string(*command.index) : "");
    }
    return "";
}

Done DirectRoad::carryOut(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    if (!hasAdminRights_()) {
        return failure("must run as administrator (root or CAP_NET_ADMIN) to change " + ifname);
    }
    std::error_code ec;
    std::filesystem::create_directories(states_.folder(), ec);
    // Held to the end of the run, also through the wait for a DHCP lease. The DHCP
    // client's event script takes only the state locks, so it is never kept waiting.
    const auto runLock = FileLock::acquire(platform::runLockPath(states_.folder(), ifname));
    if (!runLock) {
        return failure(runLock.error() + "; nothing was changed");
    }
    finishEarlierChange(ifname);
    if (Done checked = check(command); !checked) {
        return checked;
    }
    switch (command.action) {
        case NetshAction::SetAddress:
            return command.dhcp ? setDhcpAddress(command) : setStaticAddress(command);
        case NetshAction::SetDns:
            return setDns(command);
        case NetshAction::AddDns:
            return addDns(command);
    }
    return failure("unknown command");
}

Done DirectRoad::check(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    if (command.action == NetshAction::SetAddress && command.dhcp) {
        if (Done available = dhcp_.availability(); !available) {
            return failure(available.error() + "; nothing was changed");
        }
    }
    if (command.action == NetshAction::SetAddress && !command.dhcp && checkAddress_) {
        std::string note;
        if (auto conflict = checkAddress_(ifname, command.address, note); !conflict.empty()) {
            return failure(conflict);
        }
        if (!note.empty()) {
            notes_.push_back(note);
        }
    }
    if (command.action == NetshAction::SetDns && command.dhcp) {
        // DNS servers come from DHCP only together with the address, as in the system's
        // own adapter settings. Refusing keeps the hand-set servers of a fixed interface
        // when the address line before this one failed.
        const auto state = states_.read(ifname);
        if (state && state->dhcp == false) {
            return failure("the address of " + ifname +
                           " is fixed, so its DNS servers cannot come from DHCP; nothing was "
                           "changed");
        }
    }
    return {};
}

void DirectRoad::finishEarlierChange(const std::string& ifname) {
    ChangeJournal journal;
    switch (readChangeJournal(states_.folder(), ifname, journal)) {
        case JournalRead::None:
            return;
        case JournalRead::Unreadable:
            notes_.push_back("an earlier run on " + ifname +
                             " left a record of an unfinished change that cannot be read; it "
                             "was removed: " +
                             platform::journalPath(states_.folder(), ifname));
            if (Done removed = removeChangeJournal(states_.folder(), ifname); !removed) {
                notes_.push_back(removed.error());
            }
            return;
        case JournalRead::Found:
            break;
    }
    const Done putBackDone = putBack(ifname, journal);
    std::string note = "an earlier run on " + ifname + " ended before it had finished " +
                       quoteForMessage(journal.change, 80) +
                       "; the settings it found were put back (" +
                       describeAddressing(journal.found) + ")";
    if (!putBackDone) {
        note += ", as far as possible: " + putBackDone.error();
    }
    notes_.push_back(note);
    if (Done ended = end(ifname); !ended) {
        notes_.push_back(ended.error());
    }
}

Done DirectRoad::begin(const std::string& ifname, const std::string& change,
                       ChangeJournal& journal) {
    journal.change = change;
    IpRoute ip(runner_);
    auto found = ip.readAddressing(ifname);
    if (!found) {
        return failure(found.error() + "; nothing was changed");
    }
    journal.found = std::move(*found);
    journal.state = states_.read(ifname);
    journal.dhcpClientRan = dhcp_.running(ifname);
    if (Done written = writeChangeJournal(states_.folder(), ifname, journal); !written) {
        return failure(written.error() + "; nothing was changed");
    }
    return {};
}

Done DirectRoad::end(const std::string& ifname) {
    // What the run recorded with the journal's cover reaches the disk before the cover goes.
    const Done flushed = states_.flush(ifname);
    const Done removed = removeChangeJournal(states_.folder(), ifname);
    return flushed ? removed : flushed;
}

Done DirectRoad::putBack(const std::string& ifname, const ChangeJournal& journal) {
    std::string problems;
    // A client started since would fight over the addresses put back.
    if (!journal.dhcpClientRan && dhcp_.running(ifname)) {
        addProblem(problems, dhcp_.stop(ifname));
    }
    addProblem(problems, states_.restore(ifname, journal.state));
    IpRoute ip(runner_);
    addProblem(problems, ip.putBackAddressing(ifname, journal.found));
    // The client that ran before takes over the address again; its lease may take a while,
    // so it is not waited for.
    if (journal.dhcpClientRan && !dhcp_.running(ifname)) {
        addProblem(problems, dhcp_.start(ifname, false).lease);
    }
    return doneUnless(problems);
}

Failure DirectRoad::undo(const std::string& ifname, const ChangeJournal& journal,
                         const std::string& error) {
    const Done putBackDone = putBack(ifname, journal);
    std::string message = error + "; ";
    if (putBackDone) {
        message += "the previous settings of " + ifname + " were put back (" +
                   describeAddressing(journal.found) + ")";
    } else {
        message += "putting back the previous settings of " + ifname + " (" +
                   describeAddressing(journal.found) + ") failed in part: " + putBackDone.error();
    }
    if (Done removed = end(ifname); !removed) {
        message += "; " + removed.error();
    }
    return failure(message);
}

Done DirectRoad::recordAddressSource(const std::string& ifname, bool dhcp) {
    return states_.change(
        ifname,
        [dhcp](InterfaceState& state) {
            state.dhcp = dhcp;
            state.lease.reset();
            state.refusedLease.clear();
        },
        StateKeeper::Publish::WhenChanged, StateKeeper::Durability::WithJournal);
}

Done DirectRoad::setStaticAddress(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    ChangeJournal journal;
    if (Done begun = begin(ifname, describeCommand(command), journal); !begun) {
        return begun;
    }
    IpRoute ip(runner_);
    const auto steps = [&] {
        return inTurn(
            {// First on record: a client's last event as it stops then leaves the interface
             // alone, and the lease with its DNS servers is over.
             [&] { return recordAddressSource(ifname, false); }, [&] { return dhcp_.stop(ifname); },
             [&] { return ip.bringUp(ifname); }, [&] { return ip.flushAddresses(ifname); },
             [&] { return ip.addAddress(ifname, command.address, prefixOf(command.mask)); },
             [&] { return ip.removeDefaultRoutes(ifname); },
             [&] {
                 return command.gateway.empty()
                            ? Done()
                            : ip.addDefaultRoute(ifname, command.gateway,
                                                 command.gatewayMetric.value_or(-1));
             }});
    };
    if (Done done = steps(); !done) {
        return undo(ifname, journal, done.error());
    }
    return end(ifname);
}

Done DirectRoad::setDhcpAddress(const NetshCommand& command) {
    const std::string& ifname = command.interfaceName;
    ChangeJournal journal;
    if (Done begun = begin(ifname, describeCommand(command), journal); !begun) {
        return begun;
    }
    IpRoute ip(runner_);
    const auto steps = [&] {
        return inTurn({[&] { return dhcp_.stop(ifname); }, [&] { return ip.bringUp(ifname); },
                       [&] { return ip.flushAddresses(ifname); },
                       [&] { return ip.removeDefaultRoutes(ifname); },
                       // Recorded before the client starts: its event script only acts on
                       // an interface whose address comes from DHCP, and the wait ends when
                       // it has recorded the lease.
                       [&] { return recordAddressSource(ifname, true); }});
    };
    if (Done done = steps(); !done) {
        return undo(ifname, journal, done.error());
    }
    const DhcpStart started = dhcp_.start(ifname, true);
    if (!started.lease && !started.stillTrying) {
        return undo(ifname, journal, started.lease.error());
    }
    // With a lease, or without one yet while the client keeps trying: DHCP is what was
    // asked for, and the address comes when the server answers.
    Done ended = end(ifname);
    return started.lease ? std::move(ended) : started.lease;
}

Done DirectRoad::setDns(const NetshCommand& command) {
    const bool automatic = command.dhcp;
    std::vector<std::string> servers;
    if (!automatic && !command.address.empty()) {
        servers.push_back(command.address);
    }
    return states_.change(
        command.interfaceName,
        [&](InterfaceState& state) {
            state.dnsAuto = automatic;
            state.dnsServers = servers;
        },
        StateKeeper::Publish::Always);
}

Done DirectRoad::addDns(const NetshCommand& command) {
    const auto index = static_cast<std::size_t>(command.index.value_or(999));
    return states_.change(
        command.interfaceName,
        [&](InterfaceState& state) {
            std::vector<std::string> servers;
            if (!state.dnsAuto.value_or(false)) {
                servers = state.dnsServers;
            }
            // Present already: it moves to the place asked for (staying where it is when it
            // stands there), so a profile whose second server equals its first applies.
            servers.erase(std::remove(servers.begin(), servers.end(), command.address),
                          servers.end());
            const std::size_t position = std::min(servers.size(), index - 1);
            servers.insert(servers.begin() + static_cast<std::ptrdiff_t>(position),
                           command.address);
            state.dnsAuto = false;
            state.dnsServers = servers;
        },
        StateKeeper::Publish::Always);
}

}  // namespace quorrel::netsh
