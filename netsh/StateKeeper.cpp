#include "netsh/StateKeeper.h"

#include <unistd.h>

#include <filesystem>

#include "netsh/FileLock.h"
#include "netsh/StateFile.h"

namespace quorrel::netsh {

using platform::InterfaceState;

std::optional<InterfaceState> StateKeeper::read(const std::string& ifname) const {
    std::string refused;
    return read(ifname, refused);
}

std::optional<InterfaceState> StateKeeper::read(const std::string& ifname,
                                                std::string& error) const {
    if (!platform::isValidInterfaceName(ifname)) {
        return std::nullopt;
    }
    return readStateFile(folder_, ifname, ::geteuid(), error);
}

std::string StateKeeper::change(const std::string& ifname,
                                const std::function<void(InterfaceState&)>& change,
                                Publish publish) {
    return commit(
        ifname,
        [&change](const std::optional<InterfaceState>& before) {
            InterfaceState after = before.value_or(InterfaceState{});
            change(after);
            return std::optional<InterfaceState>(after);
        },
        publish);
}

std::string StateKeeper::restore(const std::string& ifname,
                                 const std::optional<InterfaceState>& state) {
    return commit(
        ifname, [&state](const std::optional<InterfaceState>&) { return state; },
        Publish::WhenChanged);
}

AdapterDnsServers StateKeeper::serversWith(const std::string& ifname,
                                           const std::vector<std::string>& servers,
                                           std::string& error) const {
    AdapterDnsServers all;
    for (const auto& name : platform::recordedInterfaces(folder_)) {
        // An interface that is gone (an unplugged adapter) has its servers back when it
        // returns and is set again.
        if (name == ifname || !interfaces_.exists(name)) {
            continue;
        }
        const auto state = read(name, error);
        if (!error.empty()) {
            return {};
        }
        if (state) {
            if (auto theirs = platform::effectiveDnsServers(*state); !theirs.empty()) {
                all[name] = std::move(theirs);
            }
        }
    }
    if (!servers.empty()) {
        all[ifname] = servers;
    }
    return all;
}

std::string StateKeeper::commit(const std::string& ifname, const Transform& transform,
                                Publish publish) {
    if (!platform::isValidInterfaceName(ifname)) {
        return "\"" + ifname + "\" is not an interface name";
    }
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    // Always in this order: the DNS lock, then the interface's own.
    const auto dnsLock = FileLock::acquire(platform::dnsLockPath(folder_));
    if (!dnsLock) {
        return dnsLock.error();
    }
    const auto stateLock = FileLock::acquire(platform::stateLockPath(folder_, ifname));
    if (!stateLock) {
        return stateLock.error();
    }
    std::string error;
    const std::optional<InterfaceState> before = read(ifname, error);
    if (!error.empty()) {
        return error;
    }
    const std::optional<InterfaceState> after = transform(before);
    const auto serversOf = [](const std::optional<InterfaceState>& state) {
        return state ? platform::effectiveDnsServers(*state) : std::vector<std::string>{};
    };
    const std::vector<std::string> servers = serversOf(after);
    if (publish == Publish::Always || servers != serversOf(before)) {
        const AdapterDnsServers all = serversWith(ifname, servers, error);
        if (!error.empty()) {
            return error;
        }
        if (auto problem = dns_.publish(ifname, all); !problem.empty()) {
            return problem;
        }
    }
    if (!after) {
        return platform::removeInterfaceState(folder_, ifname).error();
    }
    return platform::writeInterfaceState(folder_, ifname, *after).error();
}

}  // namespace quorrel::netsh
