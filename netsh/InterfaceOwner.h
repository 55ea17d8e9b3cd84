#pragma once

#include <optional>
#include <string>

#include "base/Expected.h"
#include "platform/linux/NetworkManager.h"

namespace quorrel::netsh {

// Who configures an interface, and so which road netsh takes to change it.
enum class InterfaceOwner {
    NetworkManager,   // changed through NetworkManager's connection for it
    SystemdNetworkd,  // refused: its .network file decides
    Nobody,           // changed directly, with rights
};

struct OwnerFinding {
    InterfaceOwner owner = InterfaceOwner::Nobody;
    std::optional<platform::NmDevice> device;  // with NetworkManager
    std::string networkFile;                   // with systemd-networkd, when it names one
};

// Where systemd-networkd keeps the state of the links it manages.
inline constexpr const char* kNetworkdStateFolder = "/run/systemd/netif";

// NetworkManager owns an interface it manages (its device is not "unmanaged");
// systemd-networkd one whose link state file (<networkdFolder>/links/<index>) shows a
// .network file or a state of configuring, configured or failed; nobody else owns it.
// `nm` is null when NetworkManager does not run. Fails when NetworkManager cannot be asked.
Expected<OwnerFinding> findInterfaceOwner(const std::string& ifname, platform::NetworkManager* nm,
                                          const std::string& networkdFolder);

// What netsh says when systemd-networkd owns the interface.
std::string networkdRefusal(const std::string& ifname, const std::string& networkFile);

}  // namespace quorrel::netsh
