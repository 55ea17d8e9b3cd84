#include "apply/ProgressTicker.h"

namespace quorrel {

void ProgressTicker::start() {
    timer_.start(kTimerId, kPeriodMs);
}

ProgressTicker::Step ProgressTicker::tick(int timerId, bool workerRunning) {
    using Action = Step::Action;
    if (timerId != kTimerId || count_ < 0) {
        return {};
    }
    if (!workerRunning) {
        timer_.stop(kTimerId);
        count_ = -1;
        return {Action::Finish, 0};
    }
    const int before = count_++;
    if (before >= kTickLimit) {
        cancel();
        return {Action::GiveUp, 0};
    }
    if (frame_ >= kFrameCount) {
        frame_ = 0;
    }
    const int bitmap = kFirstBitmap + frame_;
    ++frame_;
    return {Action::ShowFrame, bitmap};
}

}  // namespace quorrel
