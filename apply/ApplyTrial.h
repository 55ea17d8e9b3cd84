#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apply/ConnectionChecks.h"

namespace quorrel {

// The new settings stay, or the previous ones come back.
enum class TrialDecision { Keep, PutBack };

// What happens after the checks.
struct TrialPolicy {
    enum class OnFailure {
        Ask,      // ask the user (the countdown runs meanwhile, when there is one)
        PutBack,  // put the previous settings back at once
        Keep,     // only report: the settings stay
    };
    // The time the user has to keep the new settings; then they go. Zero: no countdown,
    // and settings that passed every check stay at once.
    std::chrono::seconds countdown{30};
    OnFailure onFailure = OnFailure::Ask;
};

// The window's way (ask with a countdown of 30 s), and a command line's "--try SECONDS"
// (put back at once when a check fails, else unless the user keeps them in time) and
// "--check" (only report).
inline constexpr TrialPolicy kWindowTrial{std::chrono::seconds(30), TrialPolicy::OnFailure::Ask};
inline TrialPolicy tryForSeconds(int seconds) {
    return {std::chrono::seconds(seconds), TrialPolicy::OnFailure::PutBack};
}
inline constexpr TrialPolicy kCheckOnly{std::chrono::seconds(0), TrialPolicy::OnFailure::Keep};

struct TrialResult {
    TrialDecision decision = TrialDecision::Keep;
    bool checksPassed = false;
    // The countdown ran out without an answer.
    bool timedOut = false;
};

// What the owner shows; every call comes from within start(), poll(), keep() or putBack().
class TrialListener {
public:
    virtual ~TrialListener() = default;
    // A check line changed; all lines as they stand.
    virtual void linesChanged(const std::vector<CheckLine>& lines) = 0;
    // The checks are done and the user is asked: after passing checks whether to keep the
    // new settings, after a failed check whether to put the previous ones back.
    virtual void askingUser(bool checksPassed) = 0;
    // The seconds left of the countdown: once when it starts and whenever the number drops.
    virtual void secondsLeft(int seconds) = 0;
    // The end; nothing is called after it.
    virtual void decided(const TrialResult& result) = 0;
};

// The time after an apply in which the new settings are on trial: the connection checks run,
// then, as the policy says, the user is asked and a countdown runs, and the result is to keep
// the new settings or to put the previous ones back. Putting them back is the owner's work
// (the same apply plan and worker, with the previous settings).
//
// Driven by its owner on one thread: start(), then poll() every 50 ms or so (the clock of
// the services decides all times, so tests drive a clock of their own), and keep() or
// putBack() for the user's answers.
class ApplyTrial {
public:
    using Clock = ConnectionChecks::Clock;
    enum class Phase { Idle, Checking, Asking, Decided };

    ApplyTrial(IpProfile applied, std::string connectionName, ConnectionCheckServices services,
               TrialPolicy policy, TrialListener& listener, CheckTimings timings = {});

    void start();
    void poll();

    // The user keeps the new settings. Only while asking (the checks must be seen first);
    // false otherwise.
    bool keep();
    // The user wants the previous settings back: any time before the decision.
    bool putBack();

    Phase phase() const { return phase_; }
    const std::vector<CheckLine>& lines() const { return checks_.lines(); }
    const ConnectionChecks& checks() const { return checks_; }
    // While asking with a countdown: the whole seconds left, rounded up.
    std::optional<int> secondsLeft() const;
    std::optional<TrialResult> result() const { return result_; }

private:
    void checksDone();
    void decide(TrialDecision decision, bool timedOut);
    int countSecondsLeft() const;

    ConnectionCheckServices::Clock::time_point now() const;

    ConnectionChecks checks_;
    std::function<Clock::time_point()> now_;
    TrialPolicy policy_;
    TrialListener& listener_;
    Phase phase_ = Phase::Idle;
    std::optional<Clock::time_point> deadline_;
    int shownSeconds_ = -1;
    std::optional<TrialResult> result_;
};

// For a caller without an event loop (the command line): starts `trial` and polls it every
// `period` on the calling thread until it has decided. `between` runs after each poll; a
// caller that asks the user reads the answer there and calls keep() or putBack(). `sleep`
// waits out the period (the thread's sleep when empty; tests move their clock instead).
TrialResult runTrial(ApplyTrial& trial,
                     std::chrono::milliseconds period = std::chrono::milliseconds(50),
                     const std::function<void()>& between = {},
                     const std::function<void(std::chrono::milliseconds)>& sleep = {});

}  // namespace quorrel
