#include "netsh/InterfaceAddressing.h"

#include <sstream>

#include "netsh/CommandValidator.h"
#include "netsh/Ipv4.h"

namespace quorrel::netsh {

namespace {

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

bool isAddress(const std::string& text) {
    return parseIpv4(text).has_value();
}

std::optional<AddressEntry> addressFromCidr(const std::string& cidr) {
    const auto slash = cidr.find('/');
    AddressEntry entry;
    entry.address = cidr.substr(0, slash);
    if (!isAddress(entry.address)) {
        return std::nullopt;
    }
    if (slash != std::string::npos) {
        const auto prefix = parseBoundedNumber(cidr.substr(slash + 1), 0, 32);
        if (!prefix) {
            return std::nullopt;
        }
        entry.prefix = *prefix;
    }
    return entry;
}

}  // namespace

std::vector<AddressEntry> parseAddressList(const std::string& ipOutput) {
    std::vector<AddressEntry> result;
    std::istringstream lines(ipOutput);
    for (std::string line; std::getline(lines, line);) {
        const auto w = words(line);
        std::optional<AddressEntry> entry;
        for (std::size_t i = 0; i + 1 < w.size(); ++i) {
            if (w[i] == "inet" && !entry) {
                entry = addressFromCidr(w[i + 1]);
                if (!entry) {
                    break;
                }
            } else if (w[i] == "brd" && entry && isAddress(w[i + 1])) {
                entry->broadcast = w[i + 1];
            } else if (w[i] == "peer") {
                entry.reset();  // point-to-point addresses are not ours to put back
                break;
            }
        }
        if (entry) {
            result.push_back(*entry);
        }
    }
    return result;
}

std::vector<DefaultRouteEntry> parseDefaultRouteList(const std::string& ipOutput) {
    std::vector<DefaultRouteEntry> result;
    std::istringstream lines(ipOutput);
    for (std::string line; std::getline(lines, line);) {
        const auto w = words(line);
        if (w.empty() || w[0] != "default") {
            continue;  // also the "nexthop" lines of a route with several next hops
        }
        DefaultRouteEntry entry;
        bool usable = true;
        for (std::size_t i = 1; i < w.size(); ++i) {
            const bool hasValue = i + 1 < w.size();
            if (w[i] == "via" && hasValue && isAddress(w[i + 1])) {
                entry.gateway = w[++i];
            } else if (w[i] == "metric" && hasValue) {
                entry.metric = parseBoundedNumber(w[++i], 0, 999999999);
                usable = usable && entry.metric.has_value();
            } else if (w[i] == "onlink") {
                entry.onlink = true;
            } else if (w[i] == "nhid") {
                usable = false;
            }
        }
        if (usable) {
            result.push_back(entry);
        }
    }
    return result;
}

std::string formatAddress(const AddressEntry& entry) {
    std::string text = entry.address + "/" + std::to_string(entry.prefix);
    if (!entry.broadcast.empty()) {
        text += " brd " + entry.broadcast;
    }
    return text;
}

std::optional<AddressEntry> parseAddress(const std::string& text) {
    const auto w = words(text);
    if (w.size() != 1 && !(w.size() == 3 && w[1] == "brd" && isAddress(w[2]))) {
        return std::nullopt;
    }
    auto entry = addressFromCidr(w[0]);
    if (entry && w.size() == 3) {
        entry->broadcast = w[2];
    }
    return entry;
}

std::string formatRoute(const DefaultRouteEntry& entry) {
    std::string text;
    const auto add = [&text](const std::string& word) { text += (text.empty() ? "" : " ") + word; };
    if (!entry.gateway.empty()) {
        add("via " + entry.gateway);
    } else {
        add("dev");
    }
    if (entry.metric) {
        add("metric " + std::to_string(*entry.metric));
    }
    if (entry.onlink) {
        add("onlink");
    }
    return text;
}

std::optional<DefaultRouteEntry> parseRoute(const std::string& text) {
    const auto w = words(text);
    DefaultRouteEntry entry;
    std::size_t i = 0;
    if (w.size() >= 2 && w[0] == "via" && isAddress(w[1])) {
        entry.gateway = w[1];
        i = 2;
    } else if (!w.empty() && w[0] == "dev") {
        i = 1;
    } else {
        return std::nullopt;
    }
    if (i + 1 < w.size() && w[i] == "metric") {
        entry.metric = parseBoundedNumber(w[i + 1], 0, 999999999);
        if (!entry.metric) {
            return std::nullopt;
        }
        i += 2;
    }
    if (i < w.size() && w[i] == "onlink") {
        entry.onlink = true;
        ++i;
    }
    return i == w.size() ? std::optional<DefaultRouteEntry>(entry) : std::nullopt;
}

std::string describeAddressing(const InterfaceAddressing& addressing) {
    std::string text;
    for (const auto& a : addressing.addresses) {
        text += (text.empty() ? "" : ", ") + a.address + "/" + std::to_string(a.prefix);
    }
    if (text.empty()) {
        text = "no address";
    }
    for (const auto& r : addressing.defaultRoutes) {
        // "dev" alone is the journal's word for a route without gateway.
        const std::string route = formatRoute(r);
        text +=
            ", default route " + (r.gateway.empty() ? "onto the link" + route.substr(3) : route);
    }
    return text;
}

}  // namespace quorrel::netsh
