#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/Expected.h"
#include "netsh/DnsConfigurator.h"
#include "netsh/InterfaceProbe.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

// The recorded state of the interfaces (see platform/linux/NetworkState.h) and what the
// resolver is told about their DNS servers, changed together: every change takes the DNS
// lock of the state folder and then the interface's state lock, and when the interface's
// DNS servers change, the resolver gets every interface's servers before the new state is
// recorded. So two runs on different interfaces, or a run and a DHCP event, cannot lose
// each other's servers, and a resolver that refuses the change leaves the record as it was.
class StateKeeper {
public:
    enum class Publish {
        WhenChanged,  // only when the interface's DNS servers change
        Always,       // also when they stay (a DNS command puts them back in any case)
    };
    enum class Durability {
        OnDisk,  // the record is on disk when the change returns
        // For a run whose change journal on disk covers the interface (DirectRoad): the
        // record reaches the disk at flush(), which the run calls before the journal goes.
        WithJournal,
    };

    StateKeeper(std::string folder, DnsConfigurator& dns, const InterfaceProbe& interfaces)
        : folder_(std::move(folder)), dns_(dns), interfaces_(interfaces) {}

    const std::string& folder() const { return folder_; }

    // The interface's state, taken in as StateFile.h says; nothing when there is none or
    // the file is refused. readChecked fails with the reason for a refused file instead. A
    // change refuses to go ahead while any state file it reads is refused.
    std::optional<platform::InterfaceState> read(const std::string& ifname) const;
    Expected<std::optional<platform::InterfaceState>> readChecked(const std::string& ifname) const;

    // Reads the interface's state (empty when none), lets `change` alter it and records the
    // result; a state that stays as it was is not written again. On failure the record is
    // unchanged.
    Done change(const std::string& ifname,
                const std::function<void(platform::InterfaceState&)>& change,
                Publish publish = Publish::WhenChanged, Durability durability = Durability::OnDisk);

    // Puts a state back exactly; nothing means the interface was never recorded.
    Done restore(const std::string& ifname, const std::optional<platform::InterfaceState>& state);

    // Puts the interface's record on disk as it is now.
    Done flush(const std::string& ifname);

private:
    using Transform = std::function<std::optional<platform::InterfaceState>(
        const std::optional<platform::InterfaceState>&)>;
    Done commit(const std::string& ifname, const Transform& transform, Publish publish,
                Durability durability);
    Expected<AdapterDnsServers> serversWith(const std::string& ifname,
                                            const std::vector<std::string>& servers) const;

    std::string folder_;
    DnsConfigurator& dns_;
    const InterfaceProbe& interfaces_;
};

}  // namespace quorrel::netsh
