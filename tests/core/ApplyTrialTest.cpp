#include <gtest/gtest.h>

#include "apply/ApplyTrial.h"
#include "tests/core/FakeConnectionProbe.h"

namespace quorrel {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using namespace std::chrono_literals;
using test::FakeCheckWorld;
using test::FakeConnectionProbe;

IpProfile profile() {
    IpProfile p;
    p.ipAddress = "10.1.0.5";
    p.subnetMask = "255.255.255.0";
    p.gateway = "10.1.0.1";
    p.primaryDns = "10.1.0.53";
    return p;
}

struct RecordingListener : TrialListener {
    const FakeCheckWorld::Clock::time_point* time = nullptr;
    FakeCheckWorld::Clock::time_point askedAt{};
    int lineChanges = 0;
    std::vector<bool> asked;
    std::vector<int> seconds;
    std::vector<TrialResult> results;

    void linesChanged(const std::vector<CheckLine>&) override { ++lineChanges; }
    void askingUser(bool checksPassed) override {
        asked.push_back(checksPassed);
        askedAt = *time;
    }
    void secondsLeft(int s) override { seconds.push_back(s); }
    void decided(const TrialResult& result) override { results.push_back(result); }
};

struct TrialBed {
    FakeCheckWorld world;
    RecordingListener listener;
    std::unique_ptr<ApplyTrial> trial;

    explicit TrialBed(bool good, TrialPolicy policy = kWindowTrial) {
        listener.time = &world.time;
        world.probe->reading.found = true;
        world.probe->reading.up = true;
        world.probe->reading.addresses = {"10.1.0.5"};
        world.probe->gatewayAnswer =
            good ? FakeConnectionProbe::answer("ARP") : FakeConnectionProbe::silence();
        world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
        trial = std::make_unique<ApplyTrial>(profile(), "eth0", world.services(), policy, listener);
    }
    // Polls once at `askedAt + since`.
    void pollAt(milliseconds since) {
        world.time = listener.askedAt + since;
        trial->poll();
    }
    // Polls every 100 ms of the fake clock for `span`, the questions answering at once.
    void run(milliseconds span) {
        const auto end = world.time + span;
        while (world.time < end && trial->phase() != ApplyTrial::Phase::Decided) {
            world.runJobs();
            trial->poll();
            world.advance(milliseconds(100));
        }
    }
};

TEST(ApplyTrial, PassingChecksAskToKeepWithACountdown) {
    TrialBed bed(true);
    bed.trial->start();
    bed.run(milliseconds(500));
    ASSERT_EQ(bed.trial->phase(), ApplyTrial::Phase::Asking);
    EXPECT_EQ(bed.listener.asked, std::vector<bool>{true});
    EXPECT_EQ(bed.listener.seconds.front(), 30);
    EXPECT_GE(bed.listener.lineChanges, 2);

    bed.pollAt(milliseconds(9'500));
    EXPECT_EQ(bed.trial->secondsLeft(), 21);
    EXPECT_EQ(bed.listener.seconds.back(), 21);
    EXPECT_TRUE(bed.trial->keep());
    ASSERT_EQ(bed.listener.results.size(), 1u);
    EXPECT_EQ(bed.listener.results[0].decision, TrialDecision::Keep);
    EXPECT_TRUE(bed.listener.results[0].checksPassed);
    EXPECT_FALSE(bed.listener.results[0].timedOut);
    // Once decided, nothing more happens.
    EXPECT_FALSE(bed.trial->keep());
    EXPECT_FALSE(bed.trial->putBack());
    bed.run(milliseconds(40'000));
    EXPECT_EQ(bed.listener.results.size(), 1u);
}

TEST(ApplyTrial, TheCountdownRunningOutPutsBack) {
    for (const bool good : {true, false}) {
        SCOPED_TRACE(good ? "checks passed" : "a check failed");
        TrialBed bed(good);
        bed.trial->start();
        const auto giveUp = bed.world.time + 5s;
        while (bed.listener.asked.empty() && bed.world.time < giveUp) {
            bed.run(milliseconds(100));
        }
        ASSERT_EQ(bed.trial->phase(), ApplyTrial::Phase::Asking);
        EXPECT_EQ(bed.listener.asked, std::vector<bool>{good});
        for (int ms = 0; ms < 30'000; ms += 100) {
            bed.pollAt(milliseconds(ms));
        }
        bed.pollAt(milliseconds(29'999));
        EXPECT_EQ(bed.trial->phase(), ApplyTrial::Phase::Asking);
        bed.pollAt(milliseconds(30'000));
        ASSERT_EQ(bed.listener.results.size(), 1u);
        EXPECT_EQ(bed.listener.results[0].decision, TrialDecision::PutBack);
        EXPECT_TRUE(bed.listener.results[0].timedOut);
        EXPECT_EQ(bed.listener.results[0].checksPassed, good);
        // Every second counted down once, from 30 to 1.
        std::vector<int> expected;
        for (int s = 30; s >= 1; --s) {
            expected.push_back(s);
        }
        EXPECT_EQ(bed.listener.seconds, expected);
    }
}

TEST(ApplyTrial, TheUserMayPutBackAtAnyTimeBeforeTheDecision) {
    TrialBed bed(false);
    EXPECT_FALSE(bed.trial->putBack());  // not started
    bed.trial->start();
    // Keeping needs the results seen first.
    EXPECT_FALSE(bed.trial->keep());
    EXPECT_TRUE(bed.trial->putBack());
    ASSERT_EQ(bed.listener.results.size(), 1u);
    EXPECT_EQ(bed.listener.results[0].decision, TrialDecision::PutBack);
    EXPECT_FALSE(bed.listener.results[0].timedOut);
}

// The command line's ways: "--try" puts back at once on a failed check and otherwise waits
// for the user within its seconds; "--check" only reports.
TEST(ApplyTrial, PoliciesOfTheCommandLine) {
    struct Case {
        const char* name;
        TrialPolicy policy;
        bool good;
        bool asks;
        TrialDecision decision;
    };
    const Case cases[] = {
        {"try, failed", tryForSeconds(10), false, false, TrialDecision::PutBack},
        {"try, passed", tryForSeconds(10), true, true, TrialDecision::PutBack},
        {"check, failed", kCheckOnly, false, false, TrialDecision::Keep},
        {"check, passed", kCheckOnly, true, false, TrialDecision::Keep},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrialBed bed(c.good, c.policy);
        bed.trial->start();
        bed.run(milliseconds(3'000));
        EXPECT_EQ(!bed.listener.asked.empty(), c.asks);
        if (c.asks) {
            EXPECT_EQ(bed.listener.seconds.front(), 10);
            bed.run(milliseconds(10'100));
        }
        ASSERT_EQ(bed.listener.results.size(), 1u);
        EXPECT_EQ(bed.listener.results[0].decision, c.decision);
        EXPECT_EQ(bed.listener.results[0].checksPassed, c.good);
        EXPECT_EQ(bed.listener.results[0].timedOut, c.asks);
    }
}

// The command line's loop, with the fake clock moved by its sleeps.
TEST(ApplyTrial, RunTrialPollsUntilTheDecision) {
    struct Case {
        const char* name;
        TrialPolicy policy;
        bool keepWhenAsked;
        TrialDecision decision;
    };
    const Case cases[] = {
        {"check only", kCheckOnly, false, TrialDecision::Keep},
        {"try, kept", tryForSeconds(5), true, TrialDecision::Keep},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCheckWorld world;
        world.probe->reading.found = true;
        world.probe->reading.up = true;
        world.probe->reading.addresses = {"10.1.0.5"};
        world.probe->gatewayAnswer = FakeConnectionProbe::answer("ARP");
        world.probe->dnsAnswer = FakeConnectionProbe::answer("DNS");
        RecordingListener listener;
        listener.time = &world.time;
        ApplyTrial trial(profile(), "eth0", world.services(), c.policy, listener);
        int sleeps = 0;
        const TrialResult result = runTrial(
            trial, milliseconds(50),
            [&] {
                if (c.keepWhenAsked && trial.phase() == ApplyTrial::Phase::Asking) {
                    trial.keep();
                }
            },
            [&](milliseconds period) {
                ++sleeps;
                world.runJobs();
                world.advance(period);
            });
        EXPECT_EQ(result.decision, c.decision);
        EXPECT_TRUE(result.checksPassed);
        EXPECT_EQ(listener.results.size(), 1u);
        EXPECT_LT(sleeps, 10);
    }

    // Nobody answers: the countdown decides.
    TrialBed bed(true, tryForSeconds(2));
    const TrialResult result = runTrial(*bed.trial, milliseconds(50), {}, [&](milliseconds period) {
        bed.world.runJobs();
        bed.world.advance(period);
    });
    EXPECT_EQ(result.decision, TrialDecision::PutBack);
    EXPECT_TRUE(result.timedOut);
}

}  // namespace
}  // namespace quorrel
