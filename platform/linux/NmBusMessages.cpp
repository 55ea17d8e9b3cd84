#include "platform/linux/NmBusMessages.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace quorrel::platform::nmbus {

// The IPv4 keys that netsh writes; a connection's other keys are copied as they are.
const std::set<std::string>& replacedIpv4Keys() {
    static const std::set<std::string> keys = {"method",          "addresses",   "address-data",
                                               "gateway",         "dns",         "dns-data",
                                               "ignore-auto-dns", "route-metric"};
    return keys;
}

Failure failure(const char* what, int code) {
    return Failure{std::string(what) + ": " + std::strerror(code < 0 ? -code : code)};
}

std::string dottedAddress(std::uint32_t networkOrder) {
    in_addr address{};
    address.s_addr = networkOrder;
    char text[INET_ADDRSTRLEN] = {};
    return ::inet_ntop(AF_INET, &address, text, sizeof text) != nullptr ? text : "";
}

bool variantHolds(sd_bus_message* m, const char* signature) {
    char type = 0;
    const char* contents = nullptr;
    return sd_bus_message_peek_type(m, &type, &contents) > 0 && type == 'v' &&
           contents != nullptr && std::strcmp(contents, signature) == 0;
}

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
            return readBool(m, ipv4.ignoreAutoDns);
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

}  // namespace quorrel::platform::nmbus
