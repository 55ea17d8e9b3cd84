#include "apply/ApplyTrial.h"

#include <thread>

namespace quorrel {

ApplyTrial::ApplyTrial(IpProfile applied, std::string connectionName,
                       ConnectionCheckServices services, TrialPolicy policy,
                       TrialListener& listener, CheckTimings timings)
    : checks_(std::move(applied), std::move(connectionName), services, timings),
      now_(services.now ? services.now
                        : std::function<Clock::time_point()>([] { return Clock::now(); })),
      policy_(policy),
      listener_(listener) {}

ConnectionCheckServices::Clock::time_point ApplyTrial::now() const {
    return now_();
}

void ApplyTrial::start() {
    if (phase_ != Phase::Idle) {
        return;
    }
    phase_ = Phase::Checking;
    checks_.start();
    listener_.linesChanged(checks_.lines());
    poll();
}

void ApplyTrial::poll() {
    if (phase_ == Phase::Checking) {
        if (checks_.poll()) {
            listener_.linesChanged(checks_.lines());
        }
        if (checks_.finished()) {
            checksDone();
        }
        return;
    }
    if (phase_ != Phase::Asking || !deadline_) {
        return;
    }
    if (now() >= *deadline_) {
        decide(TrialDecision::PutBack, true);
        return;
    }
    if (const int left = countSecondsLeft(); left != shownSeconds_) {
        shownSeconds_ = left;
        listener_.secondsLeft(left);
    }
}

void ApplyTrial::checksDone() {
    const bool passed = checks_.allPassed();
    if (!passed && policy_.onFailure != TrialPolicy::OnFailure::Ask) {
        decide(policy_.onFailure == TrialPolicy::OnFailure::PutBack ? TrialDecision::PutBack
                                                                    : TrialDecision::Keep,
               false);
        return;
    }
    if (passed && policy_.countdown.count() <= 0) {
        decide(TrialDecision::Keep, false);
        return;
    }
    // The countdown starts with the question, so that the user has all of it to read.
    phase_ = Phase::Asking;
    if (policy_.countdown.count() > 0) {
        deadline_ = now() + policy_.countdown;
    }
    listener_.askingUser(passed);
    if (deadline_) {
        shownSeconds_ = countSecondsLeft();
        listener_.secondsLeft(shownSeconds_);
    }
}

bool ApplyTrial::keep() {
    if (phase_ != Phase::Asking) {
        return false;
    }
    decide(TrialDecision::Keep, false);
    return true;
}

bool ApplyTrial::putBack() {
    if (phase_ == Phase::Idle || phase_ == Phase::Decided) {
        return false;
    }
    decide(TrialDecision::PutBack, false);
    return true;
}

std::optional<int> ApplyTrial::secondsLeft() const {
    if (phase_ != Phase::Asking || !deadline_) {
        return std::nullopt;
    }
    return countSecondsLeft();
}

int ApplyTrial::countSecondsLeft() const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - now());
    if (left.count() <= 0) {
        return 0;
    }
    return static_cast<int>((left.count() + 999) / 1000);
}

void ApplyTrial::decide(TrialDecision decision, bool timedOut) {
    phase_ = Phase::Decided;
    result_ = TrialResult{decision, checks_.allPassed(), timedOut};
    listener_.decided(*result_);
}

TrialResult runTrial(ApplyTrial& trial, std::chrono::milliseconds period,
                     const std::function<void()>& between,
                     const std::function<void(std::chrono::milliseconds)>& sleep) {
    trial.start();
    while (trial.phase() != ApplyTrial::Phase::Decided) {
        if (sleep) {
            sleep(period);
        } else {
            std::this_thread::sleep_for(period);
        }
        trial.poll();
        if (between && trial.phase() != ApplyTrial::Phase::Decided) {
            between();
        }
    }
    return trial.result().value_or(TrialResult{});
}

}  // namespace quorrel
