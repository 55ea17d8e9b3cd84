#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "netsh/NetshRoad.h"
#include "platform/linux/NetworkManager.h"

namespace quorrel::netsh {

// The road for an interface that NetworkManager manages: netsh changes NetworkManager's
// connection for the interface and has NetworkManager apply it, so that NetworkManager
// and the kernel agree and a later renewal or reconnect keeps what was set. NetworkManager
// and its polkit rules decide whether the user may; netsh needs no rights of its own.
//
// The connection changed is the one active on the device. A device without one gets a
// connection of netsh's own, bound to the interface (ownConnectionName, with a UUID made
// from the interface name so that every later run finds it again), which is activated; that
// is done only for wired devices, as a wireless one needs a network chosen first.
//
//   set address static   method manual, the one address, the gateway (or none) and the
//                        gateway's metric as the connection's route metric
//   set address dhcp     method auto; no address, gateway or metric of our own
//   set dns static       the one server (or none) as the hand-set list; ignore-auto-dns
//   set dns dhcp         no hand-set servers and those of the lease; refused while the
//                        address is fixed
//   add dns              the server at `index` of the hand-set list, never twice
//
// The change is applied at once: a fixed address is reapplied to the device while the
// connection is active (the link stays up); otherwise the connection is activated. The run ends
// with success only once the device reads activated with what was asked for: the address and
// gateway, or a DHCP lease, and the DNS servers. When NetworkManager refuses to apply a change it
// has stored, the connection's earlier settings are put back.
class NetworkManagerRoad final : public NetshRoad {
public:
    using Clock = std::chrono::steady_clock;

    struct Timing {
        // How long NetworkManager may take for a fixed address or DNS servers, and for a
        // DHCP lease.
        std::chrono::milliseconds applyWait{20000};
        std::chrono::milliseconds leaseWait{10000};
        std::chrono::milliseconds pollPeriod{5};
        std::function<Clock::time_point()> now = [] { return Clock::now(); };
        std::function<void(std::chrono::milliseconds)> pause;  // empty: sleeps
    };

    NetworkManagerRoad(platform::NetworkManager& nm, platform::NmDevice device, Timing timing)
        : nm_(nm), device_(std::move(device)), timing_(std::move(timing)) {}

    Done carryOut(const NetshCommand& command) override;
    std::vector<std::string> notes() const override { return {}; }

private:
    Done waitUntilApplied(const NetshCommand& command, const platform::NmIpv4Settings& wanted,
                          const std::string& connectionName);

    platform::NetworkManager& nm_;
    platform::NmDevice device_;
    Timing timing_;
};

// The name and UUID of the connection netsh makes for an interface.
std::string ownConnectionName(const std::string& ifname);
std::string ownConnectionUuid(const std::string& ifname);

// The connection's IPv4 settings after `command`, from those it has, or why they cannot be
// had.
Expected<platform::NmIpv4Settings> settingsAfter(const NetshCommand& command,
                                                 const platform::NmIpv4Settings& before);

// Whether the device reads activated with what `command` asked for (`wanted`).
bool deviceHasApplied(const NetshCommand& command, const platform::NmIpv4Settings& wanted,
                      const platform::NmIpv4State& state);

}  // namespace quorrel::netsh
