#include "apply/ApplyProgress.h"

namespace quorrel {

ApplyProgress::ApplyProgress(ApplyPlan plan, CommandThreadServices services, ProgressTimer& timer,
                             ProgressDisplay& display)
    : plan_(std::move(plan)), services_(std::move(services)), ticker_(timer), display_(display) {}

ApplyProgress::~ApplyProgress() = default;

void ApplyProgress::start() {
    if (worker_ || result_) {
        return;
    }
    worker_ = std::make_unique<CCommandThread>(plan_, std::move(services_));
    ticker_.start();
}

void ApplyProgress::onTimer(int timerId) {
    if (result_) {
        return;
    }
    const ProgressTicker::Step step = ticker_.tick(timerId, workerRunning());
    switch (step.action) {
        case ProgressTicker::Step::Action::None:
            break;
        case ProgressTicker::Step::Action::ShowFrame:
            display_.showFrame(step.bitmap);
            break;
        case ProgressTicker::Step::Action::Finish:
            outcome_ =
                worker_ && worker_->succeeded() ? ApplyOutcome::Succeeded : ApplyOutcome::Failed;
            if (worker_) {
                details_ = worker_->failureDetails();
            }
            worker_.reset();
            end(ProgressResult::Ok);
            break;
        case ProgressTicker::Step::Action::GiveUp:
            cancel();
            break;
    }
}

void ApplyProgress::cancel() {
    if (result_) {
        return;
    }
    ticker_.cancel();
    if (worker_) {
        worker_->cancel();
        worker_.reset();
    }
    outcome_ = ApplyOutcome::Cancelled;
    end(ProgressResult::Cancel);
}

void ApplyProgress::end(ProgressResult result) {
    result_ = result;
    display_.end(result);
}

}  // namespace quorrel
