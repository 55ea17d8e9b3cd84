#pragma once

// The built netsh program, run for real inside a network namespace that each test creates
// and removes (root only): lan0 inside, its peer end peer0 in the peer namespace.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/NetworkState.h"
#include "tests/support/TempFolder.h"
#include "tests/support/linux/NetworkNamespace.h"

namespace quorrel::netsh {

using platform::InterfaceState;
using test::CommandOutput;
using test::NetworkNamespace;

inline std::vector<std::string> nameservers(const std::string& resolvConf) {
    std::vector<std::string> servers;
    std::istringstream in(resolvConf);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string keyword, server;
        if (words >> keyword >> server && keyword == "nameserver") {
            servers.push_back(server);
        }
    }
    return servers;
}

class NetshInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto why = NetworkNamespace::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        ns_ = std::make_unique<NetworkNamespace>();
        ns_->addVeth("lan0", "peer0");
    }

    // A DHCP server on the peer end handing out 10.77.0.50-60/24 with `router`.
    void startDhcpServer(const std::string& router = "10.77.0.1") {
        if (auto why = NetworkNamespace::dhcpServerUnavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        test::DhcpServerOptions options;
        options.serverAddress = "10.77.0.1/24";
        options.rangeFirst = "10.77.0.50";
        options.rangeLast = "10.77.0.60";
        options.router = router;
        options.dnsServers = {"10.77.0.53", "10.77.0.54"};
        ns_->startDhcpServer("peer0", options);
    }

    // The environment every netsh run of a test gets.
    std::vector<std::string> netshEnvironment(int leaseWaitMs = 10000) const {
        return {"QUORREL_NETSTATE_DIR=" + state_.path(),
                "QUORREL_RESOLV_CONF=", "QUORREL_DHCP_WAIT_MS=" + std::to_string(leaseWaitMs)};
    }

    CommandOutput netsh(std::vector<std::string> args, int leaseWaitMs = 10000) {
        args.insert(args.begin(), QUORREL_NETSH_PATH);
        return ns_->run(args, netshEnvironment(leaseWaitMs));
    }

    std::string addresses(const std::string& ifname = "lan0") {
        std::string text;
        std::istringstream in(ns_->run({"ip", "-4", "-o", "addr", "show", "dev", ifname}).output);
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string word;
            while (words >> word) {
                if (word == "inet" && words >> word) {
                    text += (text.empty() ? "" : " ") + word;
                }
            }
        }
        return text;
    }

    std::string defaultRoutes() {
        std::string text = ns_->run({"ip", "-4", "route", "show", "default"}).output;
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
            text.pop_back();
        }
        return text;
    }

    InterfaceState recorded(const std::string& ifname = "lan0") {
        return platform::readInterfaceState(state_.path(), ifname).value_or(InterfaceState{});
    }

    // The DHCP client recorded for lan0, while it runs.
    std::optional<long> runningDhcpClient() {
        if (!platform::dhcpClientRunning(state_.path(), "lan0")) {
            return std::nullopt;
        }
        return std::stol(test::readFileBytes(platform::dhcpPidPath(state_.path(), "lan0")));
    }

    // True when the process has ended (a zombie waiting for its new parent counts as ended).
    static bool ended(long pid) {
        const std::string stat = test::readFileBytes("/proc/" + std::to_string(pid) + "/stat");
        const auto close = stat.rfind(')');
        return close == std::string::npos || stat.compare(close, 3, ") Z") == 0;
    }

    // Destroyed after the namespace, whose DHCP client may still write there.
    test::TempFolder state_;
    std::unique_ptr<NetworkNamespace> ns_;
};

}  // namespace quorrel::netsh
