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

#include "platform/linux/NetworkManager.h"

namespace quorrel::platform {

namespace {

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
constexpr const char* kDhcp4Interface = "org.freedesktop.NetworkManager.DHCP4Config";
constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr const char* kUnknownDevice = "org.freedesktop.NetworkManager.UnknownDevice";
// The system bus where the system keeps it; a program with rights uses only this one.
constexpr const char* kSystemBusAddress = "unix:path=/run/dbus/system_bus_socket";

// Reads answer at once; a change may wait for the user to authenticate.
constexpr std::uint64_t kReadTimeoutUs = 10'000'000;
constexpr std::uint64_t kChangeTimeoutUs = 90'000'000;

// The IPv4 keys that netsh writes; a connection's other keys are copied as they are.
const std::set<std::string>& replacedIpv4Keys() {
    static const std::set<std::string> keys = {"method",          "addresses",   "address-data",
                                               "gateway",         "dns",         "dns-data",
                                               "ignore-auto-dns", "route-metric"};
    return keys;
}

class Message {
public:
    Message() = default;
    ~Message() { sd_bus_message_unref(message_); }
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;
    sd_bus_message* get() const { return message_; }
    sd_bus_message** out() { return &message_; }

private:
    sd_bus_message* message_ = nullptr;
};

class BusError {
public:
    ~BusError() { sd_bus_error_free(&error_); }
    sd_bus_error* get() { return &error_; }
    bool is(const char* name) const { return sd_bus_error_has_name(&error_, name) != 0; }
    std::string text(int code) const {
        if (error_.message != nullptr && *error_.message != '\0') {
            return error_.message;
        }
        if (error_.name != nullptr) {
            return error_.name;
        }
        return std::strerror(code < 0 ? -code : code);
    }

private:
    sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

std::string failure(const char* what, int code) {
    return std::string(what) + ": " + std::strerror(code < 0 ? -code : code);
}

std::string dottedAddress(std::uint32_t networkOrder) {
    in_addr address{};
    address.s_addr = networkOrder;
    char text[INET_ADDRSTRLEN] = {};
    return ::inet_ntop(AF_INET, &address, text, sizeof text) != nullptr ? text : "";
}

// The link address of an interface of our own network namespace as NetworkManager writes
// it ("52:54:00:12:34:56"); "" when it has none.
std::string linkAddress(const std::string& ifname) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ifname.size() >= IFNAMSIZ) {
        if (fd >= 0) {
            ::close(fd);
        }
        return "";
    }
    ifreq request{};
    std::memcpy(request.ifr_name, ifname.c_str(), ifname.size());
    const bool read = ::ioctl(fd, SIOCGIFHWADDR, &request) == 0;
    ::close(fd);
    if (!read) {
        return "";
    }
    std::string text;
    for (int i = 0; i < 6; ++i) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X",
                      static_cast<unsigned char>(request.ifr_hwaddr.sa_data[i]));
        text += (i == 0 ? "" : ":") + std::string(part);
    }
    return text;
}

bool sameLinkAddress(std::string a, std::string b) {
    for (auto* text : {&a, &b}) {
        for (char& c : *text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return a == b;
}

bool variantHolds(sd_bus_message* m, const char* signature) {
    char type = 0;
    const char* contents = nullptr;
    return sd_bus_message_peek_type(m, &type, &contents) > 0 && type == 'v' &&
           contents != nullptr && std::strcmp(contents, signature) == 0;
}

// Reads one a{sv} at the message's position: `each` gets every key with the message at the
// key's variant and returns > 0 when it read the variant, 0 to have it skipped, < 0 on an
// error. Returns 0 at the end of an enclosing array (nothing read), 1 once read, < 0 on an
// error.
using EntryReader = std::function<int(const std::string& key)>;

int readDictionary(sd_bus_message* m, const EntryReader& each) {
    int r = sd_bus_message_enter_container(m, 'a', "{sv}");
    if (r <= 0) {
        return r;
    }
    while ((r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        const char* key = nullptr;
        if ((r = sd_bus_message_read(m, "s", &key)) < 0) {
            return r;
        }
        r = each(key);
        if (r == 0) {
            r = sd_bus_message_skip(m, "v");
        }
        if (r < 0 || (r = sd_bus_message_exit_container(m)) < 0) {
            return r;
        }
    }
    if (r < 0) {
        return r;
    }
    r = sd_bus_message_exit_container(m);
    return r < 0 ? r : 1;
}

int readString(sd_bus_message* m, std::string& value) {
    if (!variantHolds(m, "s") && !variantHolds(m, "o")) {
        return 0;
    }
    const char* text = nullptr;
    char type = 0;
    const char* contents = nullptr;
    sd_bus_message_peek_type(m, &type, &contents);
    const int r = sd_bus_message_read(m, "v", contents, &text);
    if (r >= 0) {
        value = text != nullptr ? text : "";
    }
    return r < 0 ? r : 1;
}

template <typename T>
int readBasic(sd_bus_message* m, const char* signature, T& value) {
    if (!variantHolds(m, signature)) {
        return 0;
    }
    const int r = sd_bus_message_read(m, "v", signature, &value);
    return r < 0 ? r : 1;
}

// A variant holding aa{sv} whose dictionaries name an "address" (and a "prefix").
int readAddressData(sd_bus_message* m, std::vector<NmAddress>& addresses) {
    if (!variantHolds(m, "aa{sv}")) {
        return 0;
    }
    int r = sd_bus_message_enter_container(m, 'v', "aa{sv}");
    if (r < 0 || (r = sd_bus_message_enter_container(m, 'a', "a{sv}")) < 0) {
        return r;
    }
    for (;;) {
        NmAddress entry;
        r = readDictionary(m, [&](const std::string& key) {
            if (key == "address") {
                return readString(m, entry.address);
            }
            if (key == "prefix") {
                std::uint32_t prefix = 0;
                const int read = readBasic(m, "u", prefix);
                entry.prefix = static_cast<int>(prefix);
                return read;
            }
            return 0;
        });
        if (r <= 0) {
            break;
        }
        addresses.push_back(entry);
    }
    if (r < 0 || (r = sd_bus_message_exit_container(m)) < 0) {
        return r;
    }
    r = sd_bus_message_exit_container(m);
    return r < 0 ? r : 1;
}

// "dns" (au, addresses in network order) or "dns-data" (as).
int readDnsServers(sd_bus_message* m, std::vector<std::string>& servers) {
    if (variantHolds(m, "au")) {
        int r = sd_bus_message_enter_container(m, 'v', "au");
        const void* data = nullptr;
        std::size_t size = 0;
        if (r < 0 || (r = sd_bus_message_read_array(m, 'u', &data, &size)) < 0) {
            return r;
        }
        servers.clear();
        for (std::size_t i = 0; i < size / sizeof(std::uint32_t); ++i) {
            std::uint32_t value = 0;
            std::memcpy(&value, static_cast<const char*>(data) + i * sizeof value, sizeof value);
            servers.push_back(dottedAddress(value));
        }
        r = sd_bus_message_exit_container(m);
        return r < 0 ? r : 1;
    }
    if (variantHolds(m, "as")) {
        int r = sd_bus_message_enter_container(m, 'v', "as");
        char** list = nullptr;
        if (r < 0 || (r = sd_bus_message_read_strv(m, &list)) < 0) {
            return r;
        }
        servers.clear();
        for (char** item = list; item != nullptr && *item != nullptr; ++item) {
            servers.emplace_back(*item);
            std::free(*item);
        }
        std::free(list);
        r = sd_bus_message_exit_container(m);
        return r < 0 ? r : 1;
    }
    return 0;
}

int readIpv4Section(sd_bus_message* m, NmIpv4Settings& ipv4) {
    std::vector<std::string> dnsData;
    bool haveDnsData = false;
    const int r = readDictionary(m, [&](const std::string& key) -> int {
        if (key == "method") {
            return readString(m, ipv4.method);
        }
        if (key == "address-data") {
            ipv4.addresses.clear();
            return readAddressData(m, ipv4.addresses);
        }
        if (key == "gateway") {
            return readString(m, ipv4.gateway);
        }
        if (key == "dns") {
            return readDnsServers(m, ipv4.dns);
        }
        if (key == "dns-data") {
            haveDnsData = true;
            return readDnsServers(m, dnsData);
        }
        if (key == "ignore-auto-dns") {
            int value = 0;
            const int read = readBasic(m, "b", value);
            ipv4.ignoreAutoDns = value != 0;
            return read;
        }
        if (key == "route-metric") {
            return readBasic(m, "x", ipv4.routeMetric);
        }
        return 0;
    });
    if (haveDnsData) {
        ipv4.dns = dnsData;
    }
    return r;
}

// The "ipv4" section of a{sa{sv}} connection settings at the message's position.
int readConnectionIpv4(sd_bus_message* m, NmIpv4Settings& ipv4) {
    int r = sd_bus_message_enter_container(m, 'a', "{sa{sv}}");
    if (r < 0) {
        return r;
    }
    while ((r = sd_bus_message_enter_container(m, 'e', "sa{sv}")) > 0) {
        const char* name = nullptr;
        if ((r = sd_bus_message_read(m, "s", &name)) < 0) {
            return r;
        }
        r = std::strcmp(name, "ipv4") == 0 ? readIpv4Section(m, ipv4)
                                           : sd_bus_message_skip(m, "a{sv}");
        if (r < 0 || (r = sd_bus_message_exit_container(m)) < 0) {
            return r;
        }
    }
    return r < 0 ? r : sd_bus_message_exit_container(m);
}

int appendEntry(sd_bus_message* m, const char* key, const char* signature) {
    int r = sd_bus_message_open_container(m, 'e', "sv");
    if (r >= 0) {
        r = sd_bus_message_append(m, "s", key);
    }
    if (r >= 0) {
        r = sd_bus_message_open_container(m, 'v', signature);
    }
    return r;
}

int closeEntry(sd_bus_message* m) {
    const int r = sd_bus_message_close_container(m);
    return r < 0 ? r : sd_bus_message_close_container(m);
}

// The keys of replacedIpv4Keys(), into an open a{sv}.
int appendIpv4(sd_bus_message* m, const NmIpv4Settings& ipv4) {
    int r = sd_bus_message_append(m, "{sv}", "method", "s", ipv4.method.c_str());
    if (r >= 0) {
        r = appendEntry(m, "address-data", "aa{sv}");
    }
    if (r >= 0) {
        r = sd_bus_message_open_container(m, 'a', "a{sv}");
    }
    for (const NmAddress& address : ipv4.addresses) {
        if (r >= 0) {
            r = sd_bus_message_open_container(m, 'a', "{sv}");
        }
        if (r >= 0) {
            r = sd_bus_message_append(m, "{sv}", "address", "s", address.address.c_str());
        }
        if (r >= 0) {
            r = sd_bus_message_append(m, "{sv}", "prefix", "u",
                                      static_cast<std::uint32_t>(address.prefix));
        }
        if (r >= 0) {
            r = sd_bus_message_close_container(m);
        }
    }
    if (r >= 0) {
        r = sd_bus_message_close_container(m);
    }
    if (r >= 0) {
        r = closeEntry(m);
    }
    if (r >= 0 && !ipv4.gateway.empty()) {
        r = sd_bus_message_append(m, "{sv}", "gateway", "s", ipv4.gateway.c_str());
    }
    std::vector<std::uint32_t> dns;
    for (const auto& server : ipv4.dns) {
        in_addr parsed{};
        if (::inet_pton(AF_INET, server.c_str(), &parsed) != 1) {
            return -EINVAL;
        }
        dns.push_back(parsed.s_addr);
    }
    if (r >= 0) {
        r = appendEntry(m, "dns", "au");
    }
    if (r >= 0) {
        r = sd_bus_message_append_array(m, 'u', dns.data(), dns.size() * sizeof(std::uint32_t));
    }
    if (r >= 0) {
        r = closeEntry(m);
    }
    if (r >= 0) {
        r = sd_bus_message_append(m, "{sv}", "ignore-auto-dns", "b", ipv4.ignoreAutoDns ? 1 : 0);
    }
    if (r >= 0) {
        r = sd_bus_message_append(m, "{sv}", "route-metric", "x", ipv4.routeMetric);
    }
    return r;
}

// Copies connection settings from `from` into `to`, the IPv4 keys that netsh writes
// replaced by `ipv4`.
int copyWithIpv4(sd_bus_message* from, sd_bus_message* to, const NmIpv4Settings& ipv4) {
    int r = sd_bus_message_enter_container(from, 'a', "{sa{sv}}");
    if (r < 0 || (r = sd_bus_message_open_container(to, 'a', "{sa{sv}}")) < 0) {
        return r;
    }
    bool sawIpv4 = false;
    while ((r = sd_bus_message_enter_container(from, 'e', "sa{sv}")) > 0) {
        const char* name = nullptr;
        if ((r = sd_bus_message_read(from, "s", &name)) < 0 ||
            (r = sd_bus_message_open_container(to, 'e', "sa{sv}")) < 0 ||
            (r = sd_bus_message_append(to, "s", name)) < 0) {
            return r;
        }
        if (std::strcmp(name, "ipv4") != 0) {
            r = sd_bus_message_copy(to, from, 0);
        } else {
            sawIpv4 = true;
            if ((r = sd_bus_message_enter_container(from, 'a', "{sv}")) < 0 ||
                (r = sd_bus_message_open_container(to, 'a', "{sv}")) < 0) {
                return r;
            }
            while ((r = sd_bus_message_enter_container(from, 'e', "sv")) > 0) {
                const char* key = nullptr;
                if ((r = sd_bus_message_read(from, "s", &key)) < 0) {
                    return r;
                }
                if (replacedIpv4Keys().count(key) != 0) {
                    r = sd_bus_message_skip(from, "v");
                } else if ((r = sd_bus_message_open_container(to, 'e', "sv")) >= 0 &&
                           (r = sd_bus_message_append(to, "s", key)) >= 0 &&
                           (r = sd_bus_message_copy(to, from, 0)) >= 0) {
                    r = sd_bus_message_close_container(to);
                }
                if (r < 0 || (r = sd_bus_message_exit_container(from)) < 0) {
                    return r;
                }
            }
            if (r < 0 || (r = appendIpv4(to, ipv4)) < 0 ||
                (r = sd_bus_message_close_container(to)) < 0) {
                return r;
            }
            r = sd_bus_message_exit_container(from);
        }
        if (r < 0 || (r = sd_bus_message_close_container(to)) < 0 ||
            (r = sd_bus_message_exit_container(from)) < 0) {
            return r;
        }
    }
    if (r < 0) {
        return r;
    }
    if (!sawIpv4) {
        if ((r = sd_bus_message_open_container(to, 'e', "sa{sv}")) < 0 ||
            (r = sd_bus_message_append(to, "s", "ipv4")) < 0 ||
            (r = sd_bus_message_open_container(to, 'a', "{sv}")) < 0 ||
            (r = appendIpv4(to, ipv4)) < 0 || (r = closeEntry(to)) < 0) {
            return r;
        }
    }
    r = sd_bus_message_close_container(to);
    return r < 0 ? r : sd_bus_message_exit_container(from);
}

int appendNewConnection(sd_bus_message* m, const NmNewConnection& connection) {
    int r = sd_bus_message_open_container(m, 'a', "{sa{sv}}");
    if (r >= 0) {
        r = sd_bus_message_append(m, "{sa{sv}}", "connection", 5, "id", "s",
                                  connection.name.c_str(), "uuid", "s", connection.uuid.c_str(),
                                  "type", "s", "802-3-ethernet", "interface-name", "s",
                                  connection.interfaceName.c_str(), "autoconnect", "b", 1);
    }
    if (r >= 0) {
        r = sd_bus_message_append(m, "{sa{sv}}", "802-3-ethernet", 0);
    }
    if (r >= 0 && (r = sd_bus_message_open_container(m, 'e', "sa{sv}")) >= 0 &&
        (r = sd_bus_message_append(m, "s", "ipv4")) >= 0 &&
        (r = sd_bus_message_open_container(m, 'a', "{sv}")) >= 0 &&
        (r = appendIpv4(m, connection.ipv4)) >= 0) {
        r = closeEntry(m);
    }
    return r < 0 ? r : sd_bus_message_close_container(m);
}

class SdBusNetworkManager final : public NetworkManager {
public:
    explicit SdBusNetworkManager(sd_bus* bus) : bus_(bus) {}
    ~SdBusNetworkManager() override { sd_bus_flush_close_unref(bus_); }
    SdBusNetworkManager(const SdBusNetworkManager&) = delete;
    SdBusNetworkManager& operator=(const SdBusNetworkManager&) = delete;

    std::optional<NmDevice> device(const std::string& ifname, std::string& error) override {
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
            if (!busError.is(kUnknownDevice)) {
                error = busError.text(r);
            }
            return std::nullopt;
        }
        const char* path = nullptr;
        if ((r = sd_bus_message_read(reply.get(), "o", &path)) < 0) {
            error = failure("unreadable answer of NetworkManager", r);
            return std::nullopt;
        }
        NmDevice device;
        device.path = path;
        std::string active;
        std::string hardwareAddress;
        r = readProperties(
            device.path, kDeviceInterface,
            [&](sd_bus_message* m, const std::string& key) {
                if (key == "HwAddress") {
                    return readString(m, hardwareAddress);
                }
                if (key == "State") {
                    return readBasic(m, "u", device.state);
                }
                if (key == "Managed") {
                    int managed = 0;
                    const int read = readBasic(m, "b", managed);
                    device.managed = managed != 0;
                    return read;
                }
                if (key == "DeviceType") {
                    return readBasic(m, "u", device.type);
                }
                if (key == "ActiveConnection") {
                    return readString(m, active);
                }
                return 0;
            },
            error);
        if (r < 0) {
            return std::nullopt;
        }
        // A NetworkManager of another network namespace (a test's interface beside the
        // machine's own NetworkManager) may know an interface of the same name: that one is
        // not ours to change.
        const std::string ours = linkAddress(ifname);
        if (!ours.empty() && !hardwareAddress.empty() && !sameLinkAddress(ours, hardwareAddress)) {
            return std::nullopt;
        }
        if (!active.empty() && active != "/") {
            r = readProperties(
                active, kActiveInterface,
                [&](sd_bus_message* m, const std::string& key) {
                    if (key == "Connection") {
                        return readString(m, device.connection);
                    }
                    if (key == "Id") {
                        return readString(m, device.connectionName);
                    }
                    return 0;
                },
                error);
            // The connection may go down between the two reads: then there is none.
            if (r < 0 || device.connection == "/") {
                error.clear();
                device.connection.clear();
                device.connectionName.clear();
            }
        }
        return device;
    }

    std::optional<NmIpv4Settings> appliedIpv4(const std::string& devicePath,
                                              std::string& error) override {
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
            error = busError.text(r);
            return std::nullopt;
        }
        NmIpv4Settings ipv4;
        if ((r = readConnectionIpv4(reply.get(), ipv4)) < 0) {
            error = failure("unreadable settings from NetworkManager", r);
            return std::nullopt;
        }
        return ipv4;
    }

    std::optional<NmIpv4Settings> connectionIpv4(const std::string& connectionPath,
                                                 std::string& error) override {
        Message reply;
        if (!getSettings(connectionPath, reply, error)) {
            return std::nullopt;
        }
        NmIpv4Settings ipv4;
        if (const int r = readConnectionIpv4(reply.get(), ipv4); r < 0) {
            error = failure("unreadable settings from NetworkManager", r);
            return std::nullopt;
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

    std::string updateIpv4(const std::string& connectionPath,
                           const NmIpv4Settings& settings) override {
        std::string error;
        Message current;
        if (!getSettings(connectionPath, current, error)) {
            return error;
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

    std::string addConnection(const NmNewConnection& connection, std::string& path) override {
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
        const std::string error = change(call, &reply);
        const char* added = nullptr;
        if (error.empty() && sd_bus_message_read(reply.get(), "o", &added) >= 0) {
            path = added;
        }
        return error;
    }

    std::string removeConnection(const std::string& connectionPath) override {
        Message call;
        const int r = newCall(call, connectionPath.c_str(), kConnectionInterface, "Delete");
        return r < 0 ? failure("cannot compose the call", r) : change(call);
    }

    std::string reapply(const std::string& devicePath) override {
        Message call;
        int r = newCall(call, devicePath.c_str(), kDeviceInterface, "Reapply");
        if (r >= 0) {
            // No settings of our own: those of the connection as now stored.
            r = sd_bus_message_append(call.get(), "a{sa{sv}}tu", 0, std::uint64_t{0}, 0u);
        }
        return r < 0 ? failure("cannot compose the call", r) : change(call);
    }

    std::string activate(const std::string& connectionPath,
                         const std::string& devicePath) override {
        Message call;
        int r = newCall(call, kManagerPath, kService, "ActivateConnection");
        if (r >= 0) {
            r = sd_bus_message_append(call.get(), "ooo", connectionPath.c_str(), devicePath.c_str(),
                                      "/");
        }
        return r < 0 ? failure("cannot compose the call", r) : change(call);
    }

    std::optional<NmIpv4State> ipv4State(const std::string& devicePath,
                                         std::string& error) override {
        NmIpv4State state;
        std::string ip4;
        std::string dhcp4;
        int r = readProperties(
            devicePath, kDeviceInterface,
            [&](sd_bus_message* m, const std::string& key) {
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
            },
            error);
        if (r < 0) {
            return std::nullopt;
        }
        if (!ip4.empty() && ip4 != "/") {
            r = readProperties(
                ip4, kIp4Interface,
                [&](sd_bus_message* m, const std::string& key) {
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
                },
                error);
        }
        if (r >= 0 && !dhcp4.empty() && dhcp4 != "/") {
            state.dhcp = true;
            r = readProperties(
                dhcp4, kDhcp4Interface,
                [&](sd_bus_message* m, const std::string& key) {
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
                },
                error);
        }
        // Objects that went away between the reads leave the state as far as it was read;
        // the caller looks again.
        if (r < 0) {
            error.clear();
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
    std::string change(Message& call, Message* reply = nullptr) {
        Message ignored;
        BusError busError;
        int r = sd_bus_message_set_allow_interactive_authorization(call.get(), 1);
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kChangeTimeoutUs, busError.get(),
                            reply != nullptr ? reply->out() : ignored.out());
        }
        return r < 0 ? busError.text(r) : "";
    }

    bool getSettings(const std::string& connectionPath, Message& reply, std::string& error) {
        Message call;
        BusError busError;
        int r = newCall(call, connectionPath.c_str(), kConnectionInterface, "GetSettings");
        if (r >= 0) {
            r = sd_bus_call(bus_, call.get(), kReadTimeoutUs, busError.get(), reply.out());
        }
        if (r < 0) {
            error = busError.text(r);
            return false;
        }
        return true;
    }

    int readProperties(const std::string& path, const char* interface, const PropertyReader& each,
                       std::string& error) {
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
            error = busError.text(r);
            return r;
        }
        sd_bus_message* m = reply.get();
        r = readDictionary(m, [&](const std::string& key) { return each(m, key); });
        if (r < 0) {
            error = failure("unreadable answer of NetworkManager", r);
        }
        return r;
    }

    sd_bus* bus_;
};

bool nameHasOwner(sd_bus* bus, const char* name, std::string& error) {
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
        error = busError.text(r);
        return false;
    }
    return owned != 0;
}

}  // namespace

std::unique_ptr<NetworkManager> connectNetworkManager(bool trustEnvironment, std::string& why) {
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
        why = failure("no system bus", r);
        return nullptr;
    }
    std::string error;
    if (!nameHasOwner(bus, kService, error)) {
        sd_bus_flush_close_unref(bus);
        why = error.empty() ? "NetworkManager does not run" : error;
        return nullptr;
    }
    return std::make_unique<SdBusNetworkManager>(bus);
}

std::optional<ManagedInterfaceConfig> networkManagerConfig(NetworkManager& nm,
                                                           const std::string& ifname) {
    std::string error;
    const auto device = nm.device(ifname, error);
    if (!device || !device->managed || device->state == kNmDeviceUnmanaged ||
        device->connection.empty()) {
        return std::nullopt;
    }
    const auto ipv4 = nm.appliedIpv4(device->path, error);
    if (!ipv4) {
        return std::nullopt;
    }
    ManagedInterfaceConfig config;
    config.dhcp = ipv4->method == "auto";
    config.dnsServers = ipv4->dns;
    return config;
}

std::optional<ManagedInterfaceConfig> networkManagerConfig(const std::string& ifname) {
    std::string why;
    const auto nm = connectNetworkManager(true, why);
    return nm ? networkManagerConfig(*nm, ifname) : std::nullopt;
}

}  // namespace quorrel::platform
