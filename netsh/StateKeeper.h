#pragma once

#include <functional>
#include <optional>
#include <string>

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

    StateKeeper(std::string folder, DnsConfigurator& dns, const InterfaceProbe& interfaces)
        : folder_(std::move(folder)), dns_(dns), interfaces_(interfaces) {}

    const std::string& folder() const { return folder_; }

    // The interface's state, taken in as StateFile.h says; nothing when there is none or
    // the file is refused (the second form then says why in `error`). A change refuses to
    // go ahead while any state file it reads is refused.
    std::optional<platform::InterfaceState> read(const std::string& ifname) const;
    std::optional<platform::InterfaceState> read(const std::string& ifname,
                                                 std::string& error) const;

    // Reads the interface's state (empty when none), lets `change` alter it and records the
    // result. Returns "" on success, else what went wrong; the record is then unchanged.
    std::string change(const std::string& ifname,
                       const std::function<void(platform::InterfaceState&)>& change,
                       Publish publish = Publish::WhenChanged);

    // Puts a state back exactly; nothing means the interface was never recorded.
    std::string restore(const std::string& ifname,
                        const std::optional<platform::InterfaceState>& state);

private:
    using Transform = std::function<std::optional<platform::InterfaceState>(
        const std::optional<platform::InterfaceState>&)>;
    std::string commit(const std::string& ifname, const Transform& transform, Publish publish);
    AdapterDnsServers serversWith(const std::string& ifname,
                                  const std::vector<std::string>& servers,
                                  std::string& error) const;

    std::string folder_;
    DnsConfigurator& dns_;
    const InterfaceProbe& interfaces_;
};

}  // namespace quorrel::netsh
