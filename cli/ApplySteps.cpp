#include "cli/ApplySteps.h"

#include "base/TextFormat.h"
#include "resources/CliTexts.h"

namespace quorrel {

using platform::ProcessOutcome;

std::vector<std::string> describeApplySteps(const IpProfile& p) {
    std::vector<std::string> steps;
    if (p.useDhcp == 1) {
        steps.emplace_back(texts::kCliStepAddressDhcp);
    } else if (p.gateway.empty()) {
        steps.push_back(fillFormat(texts::kCliStepAddressFormat, {p.ipAddress, p.subnetMask}));
    } else {
        steps.push_back(fillFormat(texts::kCliStepAddressGatewayFormat,
                                   {p.ipAddress, p.subnetMask, p.gateway}));
    }
    if (p.dnsAuto == 1) {
        steps.emplace_back(texts::kCliStepDnsDhcp);
        return steps;
    }
    steps.push_back(p.primaryDns.empty() && p.secondaryDns.empty()
                        ? std::string(texts::kCliStepNoDns)
                        : fillFormat(texts::kCliStepDnsFormat, {p.primaryDns}));
    if (!p.secondaryDns.empty()) {
        steps.push_back(fillFormat(texts::kCliStepSecondDnsFormat, {p.secondaryDns}));
    }
    return steps;
}

StepReportingRunner::StepReportingRunner(std::shared_ptr<platform::ProcessRunner> runner,
                                         std::vector<std::string> steps, Print print)
    : runner_(std::move(runner)), steps_(std::move(steps)), print_(std::move(print)) {}

ProcessOutcome StepReportingRunner::runAndWait(const std::string& commandLine) {
    std::size_t number = 0;
    {
        const std::lock_guard lock(mutex_);
        number = ++next_;
    }
    const std::string what = number <= steps_.size() ? steps_[number - 1] : std::string();
    print_(fillFormat(texts::kCliStepFormat,
                      {std::to_string(number), std::to_string(steps_.size()), what}));
    print_("      " + commandLine);

    const ProcessOutcome outcome = runner_->runAndWait(commandLine);
    // The runner keeps the line's standard error for the window's details; here it is
    // printed where the line stands, as the terminal would have shown it.
    if (!outcome.errorText.empty()) {
        print_(outcome.errorText);
    }
    switch (outcome.kind) {
        case ProcessOutcome::Kind::Exited:
            print_(outcome.exitCode == 0
                       ? std::string(texts::kCliStepOk)
                       : fillFormat(texts::kCliStepExitFormat, {std::to_string(outcome.exitCode)}));
            break;
        case ProcessOutcome::Kind::NotStarted:
            print_(fillFormat(texts::kCliStepNotStartedFormat, {outcome.reason}));
            break;
        case ProcessOutcome::Kind::WaitFailed:
            print_(fillFormat(texts::kCliStepWaitFailedFormat, {outcome.reason}));
            break;
    }
    return outcome;
}

}  // namespace quorrel
