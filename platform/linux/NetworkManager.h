#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"

// NetworkManager as netsh and the adapter source see it: its devices, the IPv4 part of
// its connections and what a device has applied, over its D-Bus interface on the system
// bus. Only the IPv4 settings that netsh changes are read and written; every other setting
// of a connection is carried over untouched.

namespace quorrel::platform {

// NMDeviceState values that matter here.
inline constexpr unsigned kNmDeviceUnmanaged = 10;
inline constexpr unsigned kNmDeviceUnavailable = 20;
inline constexpr unsigned kNmDeviceDisconnected = 30;
inline constexpr unsigned kNmDeviceActivated = 100;
inline constexpr unsigned kNmDeviceFailed = 120;
// NMDeviceType of a wired device, and of a veth pair's end (wired as well to a connection).
inline constexpr unsigned kNmDeviceEthernet = 1;
inline constexpr unsigned kNmDeviceVeth = 20;

struct NmAddress {
    std::string address;  // dotted IPv4
    int prefix = 0;

    bool operator==(const NmAddress&) const = default;
};

// The IPv4 settings of a connection ("ipv4" in NetworkManager's terms) that netsh changes.
struct NmIpv4Settings {
    std::string method = "auto";  // "auto" (DHCP), "manual", or another of NM's methods
    std::vector<NmAddress> addresses;
    std::string gateway;            // "" for none
    std::vector<std::string> dns;   // hand-set DNS servers, in order
    bool ignoreAutoDns = false;     // DNS servers of a DHCP lease are not used
    std::int64_t routeMetric = -1;  // -1: NetworkManager's default

    bool operator==(const NmIpv4Settings&) const = default;
};

// A device as NetworkManager knows it.
struct NmDevice {
    std::string path;  // its D-Bus object
    unsigned state = 0;
    bool managed = false;
    unsigned type = 0;
    // The connection active on the device: its settings object and its name; both "" when
    // none is.
    std::string connection;
    std::string connectionName;
};

// What a device has applied now.
struct NmIpv4State {
    unsigned state = 0;
    std::vector<NmAddress> addresses;
    std::string gateway;
    std::vector<std::string> nameservers;
    // While the device runs DHCP: the leased address ("" before a lease) and the lease's
    // DNS servers.
    bool dhcp = false;
    std::string leaseAddress;
    std::vector<std::string> leaseNameservers;
};

// A new wired connection bound to one interface.
struct NmNewConnection {
    std::string name;
    std::string uuid;
    std::string interfaceName;
    NmIpv4Settings ipv4;
};

// A call that fails says why in NetworkManager's own words (or the bus's). Calls that
// change something let a desktop's authentication agent ask the user when NetworkManager's
// polkit rules want that.
class NetworkManager {
public:
    virtual ~NetworkManager() = default;

    // The device of an interface; nothing (and no failure) when NetworkManager does not know
    // the interface.
    virtual Expected<std::optional<NmDevice>> device(const std::string& ifname) = 0;
    // The IPv4 settings the device has applied; a failure without an active connection.
    virtual Expected<NmIpv4Settings> appliedIpv4(const std::string& devicePath) = 0;
    // The IPv4 settings of a connection as stored.
    virtual Expected<NmIpv4Settings> connectionIpv4(const std::string& connectionPath) = 0;
    // The settings object of the connection with this UUID; "" when there is none.
    virtual std::string findConnection(const std::string& uuid) = 0;
    // Replaces the connection's IPv4 settings, stored to disk; the rest stays as it is.
    virtual Done updateIpv4(const std::string& connectionPath, const NmIpv4Settings& settings) = 0;
    // Adds and stores a connection; gives its settings object.
    virtual Expected<std::string> addConnection(const NmNewConnection& connection) = 0;
    virtual Done removeConnection(const std::string& connectionPath) = 0;
    // Applies the changed settings of the active connection without taking the device down.
    virtual Done reapply(const std::string& devicePath) = 0;
    // Activates a connection on the device.
    virtual Done activate(const std::string& connectionPath, const std::string& devicePath) = 0;
    virtual Expected<NmIpv4State> ipv4State(const std::string& devicePath) = 0;
    // The name (SSID bytes) of the wireless network the device is associated with; "" for
    // a wired device or while it is not associated.
    virtual std::string wifiName(const std::string& devicePath) {
        static_cast<void>(devicePath);
        return {};
    }
};

// Connects to NetworkManager on the system bus; a failure when there is no system bus or
// NetworkManager is not on it (it is never started for us). Without `trustEnvironment` the
// bus is the system's fixed socket, whatever the environment says.
Expected<std::unique_ptr<NetworkManager>> connectNetworkManager(bool trustEnvironment);

// The DHCP flag and the hand-set DNS servers of an interface that NetworkManager manages,
// from the settings its device has applied.
struct ManagedInterfaceConfig {
    bool dhcp = false;
    std::vector<std::string> dnsServers;
};

// Nothing when NetworkManager does not run, does not manage the interface or has no
// connection active on it.
std::optional<ManagedInterfaceConfig> networkManagerConfig(NetworkManager& nm,
                                                           const std::string& ifname);
std::optional<ManagedInterfaceConfig> networkManagerConfig(const std::string& ifname);

}  // namespace quorrel::platform
