#include "netsh/IpRoute.h"

namespace quorrel::netsh {

std::string IpRoute::run(const std::vector<std::string>& argv, const std::string& what) {
    const RunResult result = runner_.run(argv);
    if (result.exitCode == 0) {
        return "";
    }
    std::string message = result.output;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return "cannot " + what + (message.empty() ? "" : ": " + message);
}

std::string IpRoute::bringUp(const std::string& ifname) {
    return run({"ip", "link", "set", "dev", ifname, "up"}, "bring up " + ifname);
}

std::string IpRoute::flushAddresses(const std::string& ifname) {
    return run({"ip", "-4", "addr", "flush", "dev", ifname}, "remove the addresses of " + ifname);
}

std::string IpRoute::addAddress(const std::string& ifname, const std::string& address, int prefix) {
    return run({"ip", "-4", "addr", "add", address + "/" + std::to_string(prefix), "broadcast", "+",
                "dev", ifname},
               "set the address " + address + " on " + ifname);
}

std::string IpRoute::replaceAddress(const std::string& ifname, const std::string& address,
                                    int prefix) {
    return run({"ip", "-4", "addr", "replace", address + "/" + std::to_string(prefix), "broadcast",
                "+", "dev", ifname},
               "set the address " + address + " on " + ifname);
}

std::string IpRoute::removeDefaultRoutes(const std::string& ifname) {
    return run({"ip", "-4", "route", "flush", "exact", "0.0.0.0/0", "dev", ifname},
               "remove the default routes of " + ifname);
}

std::string IpRoute::addDefaultRoute(const std::string& ifname, const std::string& gateway,
                                     int metric) {
    std::vector<std::string> argv = {"ip",  "-4",    "route", "append", "default",
                                     "via", gateway, "dev",   ifname};
    if (metric >= 0) {
        argv.push_back("metric");
        argv.push_back(std::to_string(metric));
    }
    return run(argv, "set the default gateway " + gateway + " on " + ifname);
}

}  // namespace quorrel::netsh
