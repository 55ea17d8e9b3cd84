#pragma once

// The pieces of sd-bus messages that NetworkManager's settings travel in: owned messages and
// errors, and readers and writers of the IPv4 settings that netsh changes. Every reader and
// writer returns what sd-bus returns: < 0 on an error.

#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/NetworkManager.h"

namespace quorrel::platform::nmbus {

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
    Failure failure(int code) const { return Failure{text(code)}; }

private:
    // SD_BUS_ERROR_NULL spelled out: the macro is a C compound literal.
    sd_bus_error error_{nullptr, nullptr, 0};
};

// The IPv4 keys that netsh writes; a connection's other keys are copied as they are.
const std::set<std::string>& replacedIpv4Keys();

// What failed, with the system's words for sd-bus's `code`.
Failure failure(const char* what, int code);

std::string dottedAddress(std::uint32_t networkOrder);

bool variantHolds(sd_bus_message* m, const char* signature);

// Reads one a{sv} at the message's position: `each` gets every key with the message at the
// key's variant and returns > 0 when it read the variant, 0 to have it skipped, < 0 on an
// error. Returns 0 at the end of an enclosing array (nothing read), 1 once read, < 0 on an
// error.
using EntryReader = std::function<int(const std::string& key)>;

int readDictionary(sd_bus_message* m, const EntryReader& each);

int readString(sd_bus_message* m, std::string& value);

// A variant holding aa{sv} whose dictionaries name an "address" (and a "prefix").
int readAddressData(sd_bus_message* m, std::vector<NmAddress>& addresses);

// "dns" (au, addresses in network order) or "dns-data" (as).
int readDnsServers(sd_bus_message* m, std::vector<std::string>& servers);

int readIpv4Section(sd_bus_message* m, NmIpv4Settings& ipv4);

// The "ipv4" section of a{sa{sv}} connection settings at the message's position.
int readConnectionIpv4(sd_bus_message* m, NmIpv4Settings& ipv4);

int appendEntry(sd_bus_message* m, const char* key, const char* signature);

int closeEntry(sd_bus_message* m);

// The keys of replacedIpv4Keys(), into an open a{sv}.
int appendIpv4(sd_bus_message* m, const NmIpv4Settings& ipv4);

// Copies connection settings from `from` into `to`, the IPv4 keys that netsh writes
// replaced by `ipv4`.
int copyWithIpv4(sd_bus_message* from, sd_bus_message* to, const NmIpv4Settings& ipv4);

int appendNewConnection(sd_bus_message* m, const NmNewConnection& connection);
template <typename T>
int readBasic(sd_bus_message* m, const char* signature, T& value) {
    if (!variantHolds(m, signature)) {
        return 0;
    }
    const int r = sd_bus_message_read(m, "v", signature, &value);
    return r < 0 ? r : 1;
}

// A boolean variant ("b", which travels as an int); false when the variant holds another type.
inline int readBool(sd_bus_message* m, bool& value) {
    int raw = 0;
    const int r = readBasic(m, "b", raw);
    value = raw != 0;
    return r;
}

}  // namespace quorrel::platform::nmbus
