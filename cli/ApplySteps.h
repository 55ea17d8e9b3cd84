#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessRunner.h"
#include "profiles/IpProfile.h"

namespace quorrel {

// What each command line of a profile's apply does, in Korean, in the order the command
// worker runs them: the address line, the DNS line and, when the plan has one, the second
// DNS line (the rules of buildApplyPlan).
std::vector<std::string> describeApplySteps(const IpProfile& profile);

// A process runner that reports each command line it runs before it starts ("[1/3] IP
// 주소: ...", then the line itself) and how it ended afterwards, and hands the run on to
// the runner it wraps. The lines are numbered in the order they come, against the steps
// given. Used from the command worker's thread.
class StepReportingRunner final : public platform::ProcessRunner {
public:
    using Print = std::function<void(std::string_view line)>;

    StepReportingRunner(std::shared_ptr<platform::ProcessRunner> runner,
                        std::vector<std::string> steps, Print print);

    platform::ProcessOutcome runAndWait(const std::string& commandLine) override;

private:
    std::shared_ptr<platform::ProcessRunner> runner_;
    std::vector<std::string> steps_;
    Print print_;
    std::mutex mutex_;
    std::size_t next_ = 0;
};

}  // namespace quorrel
