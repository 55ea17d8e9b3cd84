#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apply/ConnectionChecks.h"
#include "platform/ConnectionProbe.h"

namespace quorrel::test {

// A probe whose readings and answers the test sets, and a clock the test moves. Questions
// do not run by themselves: runJobs() runs those started so far, so a test decides what has
// arrived when it polls.
class FakeConnectionProbe : public platform::ConnectionProbe {
public:
    platform::LinkReading reading;
    platform::ProbeAnswer gatewayAnswer;
    platform::ProbeAnswer dnsAnswer;
    int linkReads = 0;
    std::vector<std::string> gatewaysAsked;
    std::vector<std::string> dnsAsked;
    std::vector<std::chrono::milliseconds> limitsGiven;

    platform::LinkReading readLink(const std::string&) override {
        ++linkReads;
        return reading;
    }
    platform::ProbeAnswer askGateway(const std::string&, const std::string& gateway,
                                     std::chrono::milliseconds limit) override {
        gatewaysAsked.push_back(gateway);
        limitsGiven.push_back(limit);
        return gatewayAnswer;
    }
    platform::ProbeAnswer askDnsServer(const std::string& server,
                                       std::chrono::milliseconds limit) override {
        dnsAsked.push_back(server);
        limitsGiven.push_back(limit);
        return dnsAnswer;
    }

    static platform::ProbeAnswer answer(const char* method) {
        return platform::ProbeAnswer::answeredBy(method);
    }
    static platform::ProbeAnswer silence(std::string detail = "no reply") {
        return platform::ProbeAnswer::without(platform::ProbeAnswer::Kind::NoAnswer,
                                              std::move(detail));
    }
};

// The services of the checks around a fake probe, a fake clock and a queue of questions.
struct FakeCheckWorld {
    using Clock = ConnectionCheckServices::Clock;

    std::shared_ptr<FakeConnectionProbe> probe = std::make_shared<FakeConnectionProbe>();
    Clock::time_point time = Clock::time_point{} + std::chrono::hours(1);
    std::deque<std::function<void()>> jobs;

    ConnectionCheckServices services() {
        ConnectionCheckServices s;
        s.probe = probe;
        s.now = [this] { return time; };
        s.startJob = [this](std::function<void()> job) { jobs.push_back(std::move(job)); };
        return s;
    }
    // Runs the questions out now (also those they start), at the present time.
    void runJobs() {
        while (!jobs.empty()) {
            auto job = std::move(jobs.front());
            jobs.pop_front();
            job();
        }
    }
    void advance(std::chrono::milliseconds by) { time += by; }
};

}  // namespace quorrel::test
