#include "cli/ConsoleTrial.h"

#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "apply/DetachedThread.h"
#include "base/TextFormat.h"
#include "cli/ApplySteps.h"
#include "resources/CliTexts.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

namespace {

constexpr std::chrono::milliseconds kPollPeriod{50};
// The countdown is printed when it starts, at every tenth second and in its last seconds.
constexpr int kCountdownStep = 10;
constexpr int kCountdownLastSeconds = 5;

// Prints each check's line once it has its verdict, and the countdown now and then.
class ConsoleListener final : public TrialListener {
public:
    explicit ConsoleListener(ConsoleTrialServices& s) : s_(s) {}

    void linesChanged(const std::vector<CheckLine>& lines) override {
        printed_.resize(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].verdict != CheckVerdict::Running && printed_[i] != lines[i].text) {
                printed_[i] = lines[i].text;
                s_.out("  " + lines[i].text + "\n");
            }
        }
    }
    void askingUser(bool checksPassed) override {
        if (checksPassed) {
            s_.out(std::string(texts::kCheckPassedText) + "\n" + texts::kCliTryQuestion + "\n");
        }
    }
    void secondsLeft(int seconds) override {
        if (first_ || seconds % kCountdownStep == 0 || seconds <= kCountdownLastSeconds) {
            s_.out(fillFormat(texts::kCountdownFormat, {std::to_string(seconds)}) + "\n");
        }
        first_ = false;
    }
    void decided(const TrialResult&) override {}

private:
    ConsoleTrialServices& s_;
    std::vector<std::string> printed_;
    bool first_ = true;
};

std::string trimmed(std::string text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.back())) {
        text.pop_back();
    }
    std::size_t start = 0;
    while (start < text.size() && isSpace(text[start])) {
        ++start;
    }
    return text.substr(start);
}

ExitCode putBack(const RestorePoint& point, ConsoleTrialServices& s) {
    s.out(std::string(texts::kCliPuttingBackText) + "\n");
    if (s.putBack(point)) {
        s.out(std::string(texts::kPutBackDoneText) + "\n");
        return ExitCode::PutBack;
    }
    if (const Expected<std::string> kept = s.keepRestoreProfile(point)) {
        s.err(fillFormat(texts::kPutBackFailedFormat, {*kept}) + "\n");
    } else {
        // Not even the profile file takes it: the previous configuration goes to the screen.
        std::string steps;
        for (const std::string& step : describeApplySteps(point.settings)) {
            steps += "  " + step + "\n";
        }
        s.err(fillFormat(texts::kCliPutBackNotKeptFormat, {kept.error()}) + "\n" + steps);
    }
    return ExitCode::PutBackFailed;
}

}  // namespace

ExitCode runConsoleTrial(const IpProfile& applied, const RestorePoint& point, TrialPolicy policy,
                         ConsoleTrialServices& s) {
    s.out(std::string(texts::kCheckRunningText) + "\n");
    ConsoleListener listener(s);
    ApplyTrial trial(applied, point.connectionName, s.checks, policy, listener);
    const TrialResult result = runTrial(
        trial, kPollPeriod,
        [&] {
            if (trial.phase() != ApplyTrial::Phase::Asking || !s.readAnswer) {
                return;
            }
            const std::optional<std::string> line = s.readAnswer();
            if (!line) {
                return;
            }
            const std::string answer = trimmed(*line);
            if (answer == "y" || answer == "Y") {
                trial.keep();
            } else if (answer == "n" || answer == "N") {
                trial.putBack();
            } else {
                s.out(std::string(texts::kCliTryQuestion) + "\n");
            }
        },
        s.sleep);

    if (result.decision == TrialDecision::PutBack) {
        if (!result.checksPassed) {
            s.err(std::string(texts::kCliChecksFailedPutBack) + "\n");
        } else if (result.timedOut) {
            s.out(std::string(texts::kCliNoAnswerPutBack) + "\n");
        }
        return putBack(point, s);
    }
    if (!result.checksPassed) {
        s.err(std::string(texts::kCliChecksFailedKept) + "\n");
        return ExitCode::CheckFailed;
    }
    if (policy.countdown.count() > 0) {
        s.out(std::string(texts::kCliKeptText) + "\n");
    } else {
        s.out(std::string(texts::kCheckPassedText) + "\n");
    }
    return ExitCode::Success;
}

std::function<std::optional<std::string>()> standardInputAnswers() {
    struct Lines {
        std::mutex mutex;
        std::deque<std::string> typed;
        bool reading = false;
    };
    auto lines = std::make_shared<Lines>();
    return [lines]() -> std::optional<std::string> {
        const std::lock_guard lock(lines->mutex);
        if (!lines->reading) {
            lines->reading = true;
            startDetachedThread([lines] {
                std::string line;
                while (std::getline(std::cin, line)) {
                    const std::lock_guard inner(lines->mutex);
                    lines->typed.push_back(line);
                }
            });
        }
        if (lines->typed.empty()) {
            return std::nullopt;
        }
        std::string line = std::move(lines->typed.front());
        lines->typed.pop_front();
        return line;
    };
}

}  // namespace quorrel
