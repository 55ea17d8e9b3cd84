#include "cli/ProfileExport.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/NameUuid.h"
#include "listview/AddressValue.h"

namespace quorrel {

namespace {

struct Ipv4Plan {
    bool dhcp = true;
    std::string address;  // "10.0.0.5/24"
    std::string gateway;
    std::vector<std::string> dns;  // hand-set servers; empty: those of the lease
};

std::optional<int> prefixLength(const std::string& mask) {
    const std::optional<AddressValue> value = parseAddress(mask);
    if (!value) {
        return std::nullopt;
    }
    const int ones = std::popcount(*value);
    const AddressValue contiguous = ones == 0 ? 0 : ~AddressValue{0} << (32 - ones);
    return *value == contiguous ? std::optional<int>(ones) : std::nullopt;
}

std::optional<std::string> dotted(const std::string& text) {
    const std::optional<AddressValue> value = parseAddress(text);
    return value ? std::optional<std::string>(formatAddress(*value)) : std::nullopt;
}

std::optional<Ipv4Plan> planOf(const IpProfile& profile) {
    Ipv4Plan plan;
    plan.dhcp = profile.useDhcp != 0;
    if (!plan.dhcp) {
        const std::optional<std::string> address = dotted(profile.ipAddress);
        const std::optional<int> prefix = prefixLength(profile.subnetMask);
        if (!address || !prefix || *prefix == 0) {
            return std::nullopt;
        }
        plan.address = *address + "/" + std::to_string(*prefix);
        if (!profile.gateway.empty()) {
            const std::optional<std::string> gateway = dotted(profile.gateway);
            if (!gateway) {
                return std::nullopt;
            }
            plan.gateway = *gateway;
        }
    }
    if (profile.dnsAuto == 0) {
        for (const CompactText* server : {&profile.primaryDns, &profile.secondaryDns}) {
            if (server->empty()) {
                continue;
            }
            const std::optional<std::string> address = dotted(*server);
            if (!address) {
                return std::nullopt;
            }
            plan.dns.push_back(*address);
        }
    }
    return plan;
}

// A keyfile value: backslashes doubled, a leading blank kept as such.
std::string keyfileValue(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    if (!out.empty() && out.front() == ' ') {
        out = "\\s" + out.substr(1);
    }
    return out;
}

// A YAML scalar in double quotes.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string keyfile(const IpProfile& profile, const std::string& ifname, const Ipv4Plan& plan) {
    std::string text =
        "[connection]\nid=" + keyfileValue(profile.name) +
        "\nuuid=" + nameBasedUuid("quorrel profile " + profile.name + "\n" + ifname) +
        "\ntype=ethernet\ninterface-name=" + keyfileValue(ifname) + "\n\n[ethernet]\n\n[ipv4]\n";
    text += plan.dhcp ? "method=auto\n" : "method=manual\naddress1=" + plan.address + "\n";
    if (!plan.gateway.empty()) {
        text += "gateway=" + plan.gateway + "\n";
    }
    if (!plan.dns.empty()) {
        text += "dns=";
        for (const std::string& server : plan.dns) {
            text += server + ";";
        }
        text += "\n";
    }
    if (plan.dhcp && profile.dnsAuto == 0) {
        text += "ignore-auto-dns=true\n";
    }
    return text + "\n[ipv6]\nmethod=ignore\n";
}

std::string netplan(const IpProfile& profile, const std::string& ifname, const Ipv4Plan& plan) {
    std::string text = "# " + profile.name + "\nnetwork:\n  version: 2\n  ethernets:\n    " +
                       quoted(ifname) + ":\n      dhcp4: " + (plan.dhcp ? "true" : "false") + "\n";
    if (!plan.dhcp) {
        text += "      addresses: [" + plan.address + "]\n";
    }
    if (!plan.gateway.empty()) {
        text += "      routes:\n        - to: default\n          via: " + plan.gateway + "\n";
    }
    if (profile.dnsAuto == 0) {
        if (!plan.dns.empty()) {
            text += "      nameservers:\n        addresses: [";
            for (std::size_t i = 0; i < plan.dns.size(); ++i) {
                text += (i == 0 ? "" : ", ") + plan.dns[i];
            }
            text += "]\n";
        }
        if (plan.dhcp) {
            text += "      dhcp4-overrides:\n        use-dns: false\n";
        }
    }
    return text;
}

}  // namespace

std::optional<ExportFormat> exportFormatNamed(const std::string& word) {
    if (word == "keyfile" || word == "nm") {
        return ExportFormat::NetworkManagerKeyfile;
    }
    if (word == "netplan") {
        return ExportFormat::Netplan;
    }
    return std::nullopt;
}

std::optional<std::string> exportProfile(const IpProfile& profile, const std::string& ifname,
                                         ExportFormat format) {
    const std::optional<Ipv4Plan> plan = planOf(profile);
    if (!plan) {
        return std::nullopt;
    }
    return format == ExportFormat::Netplan ? netplan(profile, ifname, *plan)
                                           : keyfile(profile, ifname, *plan);
}

}  // namespace quorrel
