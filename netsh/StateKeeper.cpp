#include "netsh/StateKeeper.h"

#include <unistd.h>

#include <filesystem>

#include "netsh/FileLock.h"
#include "netsh/StateFile.h"

namespace quorrel::netsh {

using platform::InterfaceState;

std::optional<InterfaceState> StateKeeper::read(const std::string& ifname) const {
    auto state = readChecked(ifname);
    return state ? std::move(*state) : std::nullopt;
}

Expected<std::optional<InterfaceState>> StateKeeper::readChecked(const std::string& ifname) const {
    if (!platform::isValidInterfaceName(ifname)) {
        return std::optional<InterfaceState>();
    }
    return readStateFile(folder_, ifname, ::geteuid());
}

Done StateKeeper::change(const std::string& ifname,
                         const std::function<void(InterfaceState&)>& change, Publish publish,
                         Durability durability) {
    return commit(
        ifname,
        [&change](const std::optional<InterfaceState>& before) {
            InterfaceState after = before.value_or(InterfaceState{});
            change(after);
            return std::optional<InterfaceState>(after);
        },
        publish, durability);
}

Done StateKeeper::restore(const std::string& ifname, const std::optional<InterfaceState>& state) {
    return commit(
        ifname, [&state](const std::optional<InterfaceState>&) { return state; },
        Publish::WhenChanged, Durability::OnDisk);
}

Done StateKeeper::flush(const std::string& ifname) {
    return platform::flushInterfaceState(folder_, ifname);
}

Expected<AdapterDnsServers> StateKeeper::serversWith(
    const std::string& ifname, const std::vector<std::string>& servers) const {
    AdapterDnsServers all;
    for (const auto& name : platform::recordedInterfaces(folder_)) {
        // An interface that is gone (an unplugged adapter) has its servers back when it
        // returns and is set again.
        if (name == ifname || !interfaces_.exists(name)) {
            continue;
        }
        const auto state = readChecked(name);
        if (!state) {
            return failure(state.error());
        }
        if (*state) {
            if (auto theirs = platform::effectiveDnsServers(**state); !theirs.empty()) {
                all[name] = std::move(theirs);
            }
        }
    }
    if (!servers.empty()) {
        all[ifname] = servers;
    }
    return all;
}

Done StateKeeper::commit(const std::string& ifname, const Transform& transform, Publish publish,
                         Durability durability) {
    if (!platform::isValidInterfaceName(ifname)) {
        return failure("\"" + ifname + "\" is not an interface name");
    }
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    // Always in this order: the DNS lock, then the interface's own.
    const auto dnsLock = FileLock::acquire(platform::dnsLockPath(folder_));
    if (!dnsLock) {
        return failure(dnsLock.error());
    }
    const auto stateLock = FileLock::acquire(platform::stateLockPath(folder_, ifname));
    if (!stateLock) {
        return failure(stateLock.error());
    }
    const auto before = readChecked(ifname);
    if (!before) {
        return failure(before.error());
    }
    const std::optional<InterfaceState> after = transform(*before);
    const auto serversOf = [](const std::optional<InterfaceState>& state) {
        return state ? platform::effectiveDnsServers(*state) : std::vector<std::string>{};
    };
    const std::vector<std::string> servers = serversOf(after);
    if (publish == Publish::Always || servers != serversOf(*before)) {
        const auto all = serversWith(ifname, servers);
        if (!all) {
            return failure(all.error());
        }
        if (Done published = dns_.publish(ifname, *all); !published) {
            return published;
        }
    }
    if (after == *before) {
        return {};
    }
    if (!after) {
        return platform::removeInterfaceState(folder_, ifname);
    }
    const auto onDisk = durability == Durability::OnDisk ? platform::StateDurability::OnDisk
                                                         : platform::StateDurability::UntilFlushed;
    return platform::writeInterfaceState(folder_, ifname, *after, onDisk);
}

}  // namespace quorrel::netsh
