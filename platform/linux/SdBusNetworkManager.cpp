// NetworkManager over its D-Bus interface, with sd-bus (libsystemd): one connection to the
// system bus per object, calls made one after the other, no main loop.

#include <arpa/inet.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>

#include "platform/linux/LinkAddress.h"
#include "platform/linux/NetworkManager.h"
#include "platform/linux/NmBusMessages.h"

namespace quorrel::platform {

namespace {

using namespace nmbus;
// Both the bus's failure(what, code) and the general failure(why).
using nmbus::failure;
using quorrel::failure;

constexpr const char* kBusService = "org.freedesktop.DBus";
constexpr const char* kBusPath = "/org/freedesktop/DBus";
constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
constexpr const char* kSettingsPath = "/org/freedesktop/NetworkManager/Settings";
constexpr const char* kSettingsInterface = "org.freedesktop.NetworkManager.Settings";
constexpr const char* kConnectionInterface = "org.freedesktop.NetworkManager.Settings.Connection";
constexpr const char* kDeviceInterface = "org.freedesktop.NetworkManager.Device";
constexpr const char* kActiveInterface = "org.freedesktop.NetworkManager.Connection.Active";
constexpr const char* kIp4Interface = "org.freedesktop.NetworkManager.IP4Config";
constexpr const char* kWirelessInterface = "org.freedesktop.NetworkManager.Device.Wireless";
constexpr const char* kAccessPointInterface = "org.freedesktop.NetworkManager.AccessPoint";
constexpr const char* kDhcp4Interface = "org.freedesktop.NetworkManager.DHCP4Config";
constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr const char* kUnknownDevice = "org.freedesktop.NetworkManager.UnknownDevice";
// The system bus where the system keeps it; a program with rights uses only this one.
constexpr const char* kSystemBusAddress = "unix:path=/run/dbus/system_bus_socket";

// Reads answer at once; a change may wait for the user to authenticate.
constexpr std::uint64_t kReadTimeoutUs = 10'000'000;
constexpr std::uint64_t kChangeTimeoutUs = 90'000'000;

class SdBusNetworkManager final : public NetworkManager {
public:
    explicit SdBusNetworkManager(sd_bus* bus) : bus_(bus) {}
    ~SdBusNetworkManager() override { sd_bus_flush_close_unref(bus_); }
    SdBusNetworkManager(const SdBusNetworkManager&) = delete;
    SdBusNetworkManager& operator=(const SdBusNetworkManager&) = delete;

    Expected<std::optional<NmDevice>> device(const std::string& ifname) override {
        Message call;
        Message reply;
        BusError busError;
        int r = newCall(call, kManagerPath, kService, "GetDeviceByIpIface");
        if (r >= 0) {
            r = sd_bus_message_append(call.get(), "s", ifname.c_str());
        }
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kReadTimeoutUs, busError.get(), reply.out());
        }
        if (r < 0) {
            if (busError.is(kUnknownDevice)) {
                return std::optional<NmDevice>{};
            }
            return busError.failure(r);
        }
        const char* path = nullptr;
        if ((r = sd_bus_message_read(reply.get(), "o", &path)) < 0) {
            return failure("unreadable answer of NetworkManager", r);
        }
        NmDevice device;
        device.path = path;
        std::string active;
        std::string hardwareAddress;
        const auto deviceKeys = [&](sd_bus_message* m, const std::string& key) {
            if (key == "HwAddress") {
                return readString(m, hardwareAddress);
            }
            if (key == "State") {
                return readBasic(m, "u", device.state);
            }
            if (key == "Managed") {
                return readBool(m, device.managed);
            }
            if (key == "DeviceType") {
                return readBasic(m, "u", device.type);
            }
            if (key == "ActiveConnection") {
                return readString(m, active);
            }
            return 0;
        };
        if (const Done read = readProperties(device.path, kDeviceInterface, deviceKeys); !read) {
            return failure(read.error());
        }
        // A NetworkManager of another network namespace (a test's interface beside the
        // machine's own NetworkManager) may know an interface of the same name: that one is
        // not ours to change.
        const std::string ours = linkAddress(ifname);
        if (!ours.empty() && !hardwareAddress.empty() && !sameLinkAddress(ours, hardwareAddress)) {
            return std::optional<NmDevice>{};
        }
        if (!active.empty() && active != "/") {
            const Done readActive = readProperties(
                active, kActiveInterface, [&](sd_bus_message* m, const std::string& key) {
                    if (key == "Connection") {
                        return readString(m, device.connection);
                    }
                    if (key == "Id") {
                        return readString(m, device.connectionName);
                    }
                    return 0;
                });
            // The connection may go down between the two reads: then there is none.
            if (!readActive || device.connection == "/") {
                device.connection.clear();
                device.connectionName.clear();
            }
        }
        return std::optional<NmDevice>(std::move(device));
    }

    Expected<NmIpv4Settings> appliedIpv4(const std::string& devicePath) override {
        Message call;
        Message reply;
        BusError busError;
        int r = newCall(call, devicePath.c_str(), kDeviceInterface, "GetAppliedConnection");
        if (r >= 0) {
            r = sd_bus_message_append(call.get(), "u", 0u);
        }
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kReadTimeoutUs, busError.get(), reply.out());
        }
        if (r < 0) {
            return busError.failure(r);
        }
        NmIpv4Settings ipv4;
        if ((r = readConnectionIpv4(reply.get(), ipv4)) < 0) {
            return failure("unreadable settings from NetworkManager", r);
        }
        return ipv4;
    }

    Expected<NmIpv4Settings> connectionIpv4(const std::string& connectionPath) override {
        Message reply;
        if (const Done got = getSettings(connectionPath, reply); !got) {
            return failure(got.error());
        }
        NmIpv4Settings ipv4;
        if (const int r = readConnectionIpv4(reply.get(), ipv4); r < 0) {
            return failure("unreadable settings from NetworkManager", r);
        }
        return ipv4;
    }

    std::string findConnection(const std::string& uuid) override {
        Message call;
        Message reply;
        BusError busError;
        int r = newCall(call, kSettingsPath, kSettingsInterface, "GetConnectionByUuid");
        if (r >= 0) {
            r = sd_bus_message_append(call.get(), "s", uuid.c_str());
        }
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kReadTimeoutUs, busError.get(), reply.out());
        }
        const char* path = nullptr;
        if (r < 0 || sd_bus_message_read(reply.get(), "o", &path) < 0) {
            return "";
        }
        return path;
    }

    Done updateIpv4(const std::string& connectionPath, const NmIpv4Settings& settings) override {
        Message current;
        if (Done got = getSettings(connectionPath, current); !got) {
            return got;
        }
        Message call;
        int r = newCall(call, connectionPath.c_str(), kConnectionInterface, "Update");
        if (r >= 0) {
            r = copyWithIpv4(current.get(), call.get(), settings);
        }
        if (r < 0) {
            return failure("cannot compose the new settings", r);
        }
        return change(call);
    }

    Expected<std::string> addConnection(const NmNewConnection& connection) override {
        Message call;
        Message reply;
        BusError busError;
        int r = newCall(call, kSettingsPath, kSettingsInterface, "AddConnection");
        if (r >= 0) {
            r = appendNewConnection(call.get(), connection);
        }
        if (r < 0) {
            return failure("cannot compose the new connection", r);
        }
        if (const Done added = change(call, &reply); !added) {
            return failure(added.error());
        }
        const char* path = nullptr;
        return std::string(sd_bus_message_read(reply.get(), "o", &path) >= 0 ? path : "");
    }

    Done removeConnection(const std::string& connectionPath) override {
        Message call;
        const int r = newCall(call, connectionPath.c_str(), kConnectionInterface, "Delete");
        return r < 0 ? failure("cannot compose the call", r) : change(call);
    }

    Done reapply(const std::string& devicePath) override {
        Message call;
        int r = newCall(call, devicePath.c_str(), kDeviceInterface, "Reapply");
        if (r >= 0) {
            // No settings of our own: those of the connection as now stored.
            r = sd_bus_message_append(call.get(), "a{sa{sv}}tu", 0, std::uint64_t{0}, 0u);
        }
        return r < 0 ? failure("cannot compose the call", r) : change(call);
    }

    Done activate(const std::string& connectionPath, const std::string& devicePath) override {
        Message call;
        int r = newCall(call, kManagerPath, kService, "ActivateConnection");
        if (r >= 0) {
            r = sd_bus_message_append(call.get(), "ooo", connectionPath.c_str(), devicePath.c_str(),
                                      "/");
        }
        return r < 0 ? failure("cannot compose the call", r) : change(call);
    }

    Expected<NmIpv4State> ipv4State(const std::string& devicePath) override {
        NmIpv4State state;
        std::string ip4;
        std::string dhcp4;
        const auto deviceKeys = [&](sd_bus_message* m, const std::string& key) {
            if (key == "State") {
                return readBasic(m, "u", state.state);
            }
            if (key == "Ip4Config") {
                return readString(m, ip4);
            }
            if (key == "Dhcp4Config") {
                return readString(m, dhcp4);
            }
            return 0;
        };
        if (const Done read = readProperties(devicePath, kDeviceInterface, deviceKeys); !read) {
            return failure(read.error());
        }
        // Objects that go away between the reads leave the state as far as it was read; the
        // caller looks again.
        bool readOn = true;
        if (!ip4.empty() && ip4 != "/") {
            readOn =
                readProperties(ip4, kIp4Interface, [&](sd_bus_message* m, const std::string& key) {
                    if (key == "AddressData") {
                        return readAddressData(m, state.addresses);
                    }
                    if (key == "Gateway") {
                        return readString(m, state.gateway);
                    }
                    if (key == "NameserverData") {
                        std::vector<NmAddress> servers;
                        const int read = readAddressData(m, servers);
                        for (const auto& server : servers) {
                            state.nameservers.push_back(server.address);
                        }
                        return read;
                    }
                    return 0;
                }).ok();
        }
        if (readOn && !dhcp4.empty() && dhcp4 != "/") {
            state.dhcp = true;
            static_cast<void>(readProperties(
                dhcp4, kDhcp4Interface, [&](sd_bus_message* m, const std::string& key) {
                    if (key != "Options") {
                        return 0;
                    }
                    if (!variantHolds(m, "a{sv}")) {
                        return 0;
                    }
                    int inner = sd_bus_message_enter_container(m, 'v', "a{sv}");
                    if (inner < 0) {
                        return inner;
                    }
                    inner = readDictionary(m, [&](const std::string& option) {
                        if (option == "ip_address") {
                            return readString(m, state.leaseAddress);
                        }
                        if (option == "domain_name_servers") {
                            std::string servers;
                            const int read = readString(m, servers);
                            std::size_t start = 0;
                            while (start < servers.size()) {
                                std::size_t end = servers.find(' ', start);
                                if (end == std::string::npos) {
                                    end = servers.size();
                                }
                                if (end > start) {
                                    state.leaseNameservers.push_back(
                                        servers.substr(start, end - start));
                                }
                                start = end + 1;
                            }
                            return read;
                        }
                        return 0;
                    });
                    if (inner >= 0) {
                        inner = sd_bus_message_exit_container(m);
                    }
                    return inner < 0 ? inner : 1;
                }));
        }
        return state;
    }

private:
    using PropertyReader = std::function<int(sd_bus_message*, const std::string&)>;

    int newCall(Message& call, const char* path, const char* interface, const char* member) {
        int r = sd_bus_message_new_method_call(bus_, call.out(), kService, path, interface, member);
        if (r >= 0) {
            // NetworkManager is never started on our behalf.
            r = sd_bus_message_set_auto_start(call.get(), 0);
        }
        return r;
    }

    // A change: the user may be asked to authenticate by the desktop's agent.
    Done change(Message& call, Message* reply = nullptr) {
        Message ignored;
        BusError busError;
        int r = sd_bus_message_set_allow_interactive_authorization(call.get(), 1);
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kChangeTimeoutUs, busError.get(),
                            reply != nullptr ? reply->out() : ignored.out());
        }
        return r < 0 ? busError.failure(r) : Done{};
    }

    Done getSettings(const std::string& connectionPath, Message& reply) {
        Message call;
        BusError busError;
        int r = newCall(call, connectionPath.c_str(), kConnectionInterface, "GetSettings");
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kReadTimeoutUs, busError.get(), reply.out());
        }
        return r < 0 ? busError.failure(r) : Done{};
    }

    // The name is a hint: whatever could be read of it counts.
    std::string wifiName(const std::string& devicePath) override {
        std::string accessPoint;
        static_cast<void>(readProperties(
            devicePath, kWirelessInterface, [&](sd_bus_message* m, const std::string& key) {
                return key == "ActiveAccessPoint" ? readString(m, accessPoint) : 0;
            }));
        if (accessPoint.empty() || accessPoint == "/") {
            return {};
        }
        std::string ssid;
        static_cast<void>(readProperties(
            accessPoint, kAccessPointInterface, [&](sd_bus_message* m, const std::string& key) {
                if (key != "Ssid" || !variantHolds(m, "ay")) {
                    return 0;
                }
                int r = sd_bus_message_enter_container(m, 'v', "ay");
                const void* bytes = nullptr;
                std::size_t size = 0;
                if (r >= 0) {
                    r = sd_bus_message_read_array(m, 'y', &bytes, &size);
                }
                if (r >= 0 && bytes != nullptr) {
                    ssid.assign(static_cast<const char*>(bytes), size);
                }
                if (r >= 0) {
                    r = sd_bus_message_exit_container(m);
                }
                return r < 0 ? r : 1;
            }));
        return ssid;
    }

    Done readProperties(const std::string& path, const char* interface,
                        const PropertyReader& each) {
        Message call;
        Message reply;
        BusError busError;
        int r = newCall(call, path.c_str(), kPropertiesInterface, "GetAll");
        if (r >= 0) {
            r = sd_bus_message_append(call.get(), "s", interface);
        }
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kReadTimeoutUs, busError.get(), reply.out());
        }
        if (r < 0) {
            return busError.failure(r);
        }
        sd_bus_message* m = reply.get();
        r = readDictionary(m, [&](const std::string& key) { return each(m, key); });
        if (r < 0) {
            return failure("unreadable answer of NetworkManager", r);
        }
        return {};
    }

    sd_bus* bus_;
};

Expected<bool> nameHasOwner(sd_bus* bus, const char* name) {
    Message call;
    Message reply;
    BusError busError;
    int r = sd_bus_message_new_method_call(bus, call.out(), kBusService, kBusPath, kBusService,
                                           "NameHasOwner");
    if (r >= 0) {
        r = sd_bus_message_append(call.get(), "s", name);
    }
    if (r >= 0) {
        r = sd_bus_call(bus, call.get(), kReadTimeoutUs, busError.get(), reply.out());
    }
    int owned = 0;
    if (r >= 0) {
        r = sd_bus_message_read(reply.get(), "b", &owned);
    }
    if (r < 0) {
        return busError.failure(r);
    }
    return owned != 0;
}

}  // namespace

Expected<std::unique_ptr<NetworkManager>> connectNetworkManager(bool trustEnvironment) {
    sd_bus* bus = nullptr;
    int r = 0;
    if (trustEnvironment) {
        r = sd_bus_open_system(&bus);
    } else {
        r = sd_bus_new(&bus);
        if (r >= 0) {
            r = sd_bus_set_address(bus, kSystemBusAddress);
        }
        if (r >= 0) {
            r = sd_bus_set_bus_client(bus, 1);
        }
        if (r >= 0) {
            r = sd_bus_start(bus);
        }
    }
    if (r < 0) {
        sd_bus_flush_close_unref(bus);
        return failure("no system bus", r);
    }
    const Expected<bool> owned = nameHasOwner(bus, kService);
    if (!owned || !*owned) {
        sd_bus_flush_close_unref(bus);
        return owned ? failure("NetworkManager does not run") : failure(owned.error());
    }
    return std::unique_ptr<NetworkManager>(std::make_unique<SdBusNetworkManager>(bus));
}

}  // namespace quorrel::platform
