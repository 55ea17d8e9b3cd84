#pragma once

#include <set>
#include <string>
#include <vector>

#include "netsh/CommandRunner.h"
#include "netsh/DhcpClient.h"
#include "netsh/DnsConfigurator.h"
#include "netsh/InterfaceProbe.h"

namespace quorrel::netsh::fakes {

inline std::string joined(const std::vector<std::string>& argv) {
    std::string text;
    for (const auto& a : argv) {
        text += (text.empty() ? "" : " ") + a;
    }
    return text;
}

// Records every command line; a line containing `failOn` fails with ip's kind of message.
class RecordingRunner final : public CommandRunner {
public:
    RunResult run(const std::vector<std::string>& argv) override {
        lines.push_back(joined(argv));
        if (!failOn.empty() && lines.back().find(failOn) != std::string::npos) {
            return {2, "RTNETLINK answers: Operation not permitted\n"};
        }
        return {0, ""};
    }

    std::vector<std::string> lines;
    std::string failOn;
};

class FakeDhcpClient final : public DhcpClient {
public:
    std::string start(const std::string& ifname) override {
        calls.push_back("start " + ifname);
        return startError;
    }
    std::string stop(const std::string& ifname) override {
        calls.push_back("stop " + ifname);
        return "";
    }

    std::vector<std::string> calls;
    std::string startError;
};

class FakeDns final : public DnsConfigurator {
public:
    std::string apply(const std::string& ifname, const std::vector<std::string>& servers) override {
        ++applied;
        lastInterface = ifname;
        lastServers = servers;
        return error;
    }

    int applied = 0;
    std::string lastInterface;
    std::vector<std::string> lastServers;
    std::string error;
};

class FakeInterfaces final : public InterfaceProbe {
public:
    explicit FakeInterfaces(std::set<std::string> names) : names_(std::move(names)) {}
    bool exists(const std::string& name) const override { return names_.count(name) != 0; }

private:
    std::set<std::string> names_;
};

}  // namespace quorrel::netsh::fakes
