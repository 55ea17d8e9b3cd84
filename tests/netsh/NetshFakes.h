#pragma once

#include <functional>
#include <map>
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
// Lines that only read (`ip ... show ...`) are kept apart in `reads` and print what `show`
// returns for them (nothing unless set).
class RecordingRunner final : public CommandRunner {
public:
    RunResult run(const std::vector<std::string>& argv) override {
        const std::string line = joined(argv);
        if (line.find(" show ") != std::string::npos) {
            reads.push_back(line);
            return {0, show ? show(line) : ""};
        }
        lines.push_back(line);
        if (!failOn.empty() && line.find(failOn) != std::string::npos) {
            return {2, "RTNETLINK answers: Operation not permitted\n"};
        }
        return {0, ""};
    }

    bool ran(const std::string& start) const {
        for (const auto& line : lines) {
            if (line.rfind(start, 0) == 0) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> lines;  // every line but the reads
    std::vector<std::string> reads;
    std::string failOn;
    std::function<std::string(const std::string&)> show;
};

class FakeDhcpClient final : public DhcpClient {
public:
    Done availability() override { return doneUnless(missing); }
    bool running(const std::string& ifname) override { return runningFor.count(ifname) != 0; }
    DhcpStart start(const std::string& ifname, bool waitForLease) override {
        calls.push_back((waitForLease ? "start " : "start-in-background ") + ifname);
        if (result.lease || result.stillTrying) {
            runningFor.insert(ifname);
        }
        return result;
    }
    Done stop(const std::string& ifname) override {
        calls.push_back("stop " + ifname);
        runningFor.erase(ifname);
        return {};
    }

    std::vector<std::string> calls;
    std::set<std::string> runningFor;
    DhcpStart result;
    std::string missing;
};

class FakeDns final : public DnsConfigurator {
public:
    Done publish(const std::string& changed, const AdapterDnsServers& all) override {
        ++applied;
        lastInterface = changed;
        const auto it = all.find(changed);
        lastServers = it == all.end() ? std::vector<std::string>{} : it->second;
        lastAll = all;
        return doneUnless(error);
    }

    int applied = 0;
    std::string lastInterface;
    std::vector<std::string> lastServers;
    AdapterDnsServers lastAll;
    std::string error;
};

class FakeInterfaces final : public InterfaceProbe {
public:
    explicit FakeInterfaces(std::set<std::string> names, std::set<std::string> loopback = {})
        : names_(std::move(names)), loopback_(std::move(loopback)) {}
    bool exists(const std::string& name) const override {
        return names_.count(name) != 0 || loopback_.count(name) != 0;
    }
    bool isLoopback(const std::string& name) const override { return loopback_.count(name) != 0; }

private:
    std::set<std::string> names_;
    std::set<std::string> loopback_;
};

}  // namespace quorrel::netsh::fakes
