#include "netsh/IpRoute.h"

namespace quorrel::netsh {

Done IpRoute::run(const std::vector<std::string>& argv, const std::string& what) {
    const RunResult result = runner_.run(argv);
    if (result.exitCode == 0) {
        return {};
    }
    std::string message = result.output;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return failure("cannot " + what + (message.empty() ? "" : ": " + message));
}

Done IpRoute::bringUp(const std::string& ifname) {
    if (const auto kernel = runner_.kernelAddressing(ifname); kernel && kernel->up) {
        return {};
    }
    return run({"ip", "link", "set", "dev", ifname, "up"}, "bring up " + ifname);
}

Done IpRoute::flushAddresses(const std::string& ifname) {
    if (const auto kernel = runner_.kernelAddressing(ifname); kernel && !kernel->anyAddress) {
        return {};
    }
    return run({"ip", "-4", "addr", "flush", "dev", ifname}, "remove the addresses of " + ifname);
}

Done IpRoute::changed(const std::optional<Done>& made, const std::string& what) {
    if (!made || *made) {
        return {};
    }
    return failure("cannot " + what + ": " + made->error());
}

Done IpRoute::addAddress(const std::string& ifname, const std::string& address, int prefix) {
    if (const auto made = runner_.setAddress(ifname, address, prefix, false)) {
        return changed(made, "set the address " + address + " on " + ifname);
    }
    return run({"ip", "-4", "addr", "add", address + "/" + std::to_string(prefix), "broadcast", "+",
                "dev", ifname},
               "set the address " + address + " on " + ifname);
}

Done IpRoute::replaceAddress(const std::string& ifname, const std::string& address, int prefix) {
    if (const auto made = runner_.setAddress(ifname, address, prefix, true)) {
        return changed(made, "set the address " + address + " on " + ifname);
    }
    return run({"ip", "-4", "addr", "replace", address + "/" + std::to_string(prefix), "broadcast",
                "+", "dev", ifname},
               "set the address " + address + " on " + ifname);
}

Done IpRoute::removeDefaultRoutes(const std::string& ifname) {
    if (const auto kernel = runner_.kernelAddressing(ifname); kernel && !kernel->anyDefaultRoute) {
        return {};
    }
    return run({"ip", "-4", "route", "flush", "exact", "0.0.0.0/0", "dev", ifname},
               "remove the default routes of " + ifname);
}

Done IpRoute::addDefaultRoute(const std::string& ifname, const std::string& gateway, int metric) {
    if (const auto made = runner_.appendDefaultRoute(ifname, gateway, metric)) {
        return changed(made, "set the default gateway " + gateway + " on " + ifname);
    }
    std::vector<std::string> argv = {"ip",  "-4",    "route", "append", "default",
                                     "via", gateway, "dev",   ifname};
    if (metric >= 0) {
        argv.push_back("metric");
        argv.push_back(std::to_string(metric));
    }
    return run(argv, "set the default gateway " + gateway + " on " + ifname);
}

Expected<InterfaceAddressing> IpRoute::readAddressing(const std::string& ifname) {
    if (auto kernel = runner_.kernelAddressing(ifname)) {
        return std::move(kernel->addressing);
    }
    const RunResult addresses = runner_.run({"ip", "-4", "-o", "addr", "show", "dev", ifname});
    if (addresses.exitCode != 0) {
        return failure("cannot read the addresses of " + ifname + ": " + addresses.output);
    }
    const RunResult routes =
        runner_.run({"ip", "-4", "route", "show", "exact", "0.0.0.0/0", "dev", ifname});
    if (routes.exitCode != 0) {
        return failure("cannot read the default routes of " + ifname + ": " + routes.output);
    }
    InterfaceAddressing addressing;
    addressing.addresses = parseAddressList(addresses.output);
    addressing.defaultRoutes = parseDefaultRouteList(routes.output);
    return addressing;
}

Done IpRoute::addAddress(const std::string& ifname, const AddressEntry& entry) {
    std::vector<std::string> argv = {"ip", "-4", "addr", "add",
                                     entry.address + "/" + std::to_string(entry.prefix)};
    if (!entry.broadcast.empty()) {
        argv.insert(argv.end(), {"broadcast", entry.broadcast});
    }
    argv.insert(argv.end(), {"dev", ifname});
    return run(argv, "put back the address " + entry.address + " on " + ifname);
}

Done IpRoute::addDefaultRoute(const std::string& ifname, const DefaultRouteEntry& entry) {
    std::vector<std::string> argv = {"ip", "-4", "route", "append", "default"};
    if (!entry.gateway.empty()) {
        argv.insert(argv.end(), {"via", entry.gateway});
    }
    argv.insert(argv.end(), {"dev", ifname});
    if (entry.metric) {
        argv.insert(argv.end(), {"metric", std::to_string(*entry.metric)});
    }
    if (entry.onlink) {
        argv.emplace_back("onlink");
    }
    return run(argv, "put back the default route " + formatRoute(entry) + " on " + ifname);
}

Done IpRoute::putBackAddressing(const std::string& ifname, const InterfaceAddressing& addressing) {
    if (const auto now = readAddressing(ifname); now && *now == addressing) {
        return {};
    }
    std::string problems;
    const auto note = [&problems](const Done& step) {
        if (!step) {
            problems += (problems.empty() ? "" : "; ") + step.error();
        }
    };
    note(bringUp(ifname));
    note(flushAddresses(ifname));
    for (const auto& entry : addressing.addresses) {
        note(addAddress(ifname, entry));
    }
    note(removeDefaultRoutes(ifname));
    for (const auto& entry : addressing.defaultRoutes) {
        note(addDefaultRoute(ifname, entry));
    }
    return doneUnless(std::move(problems));
}

}  // namespace quorrel::netsh
