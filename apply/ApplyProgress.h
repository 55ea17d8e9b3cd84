#pragma once

#include <memory>
#include <optional>

#include "apply/ApplyPlan.h"
#include "apply/CommandThread.h"
#include "apply/ProgressTicker.h"

namespace quorrel {

// What the progress dialog's window does for it.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void showFrame(int bitmapId) = 0;
    // End the dialog with `result`; called once.
    virtual void end(ProgressResult result) = 0;
};

// How an apply ended, as the apply operation reports it.
enum class ApplyOutcome {
    Succeeded,  // every line ran and exited with 0: the success message
    Failed,     // the worker finished, but a line failed: the failure message
    Cancelled,  // stopped by the user or the time limit: the failure message
};

// The life of the progress dialog without its window: the worker starts when the dialog
// opens, the timer polls it, the user or the time limit may stop it. The dialog forwards
// its timer ticks and its stop button here and ends when told to.
class ApplyProgress {
public:
    ApplyProgress(ApplyPlan plan, CommandThreadServices services, ProgressTimer& timer,
                  ProgressDisplay& display);
    ~ApplyProgress();
    ApplyProgress(const ApplyProgress&) = delete;
    ApplyProgress& operator=(const ApplyProgress&) = delete;

    // The dialog opens: starts the worker with a copy of the plan, then the timer.
    void start();

    void onTimer(int timerId);

    // The stop button, Esc or the close box: the worker is given up and the dialog ends
    // with cancel. Nothing happens once the dialog has ended.
    void cancel();

    std::optional<ProgressResult> result() const { return result_; }
    // True while the worker started by start() has not finished; what the next tick will
    // find.
    bool workerRunning() const { return worker_ && worker_->running(); }
    // Meaningful once result() is set.
    ApplyOutcome outcome() const { return outcome_; }
    // Why the lines that failed did (CCommandThread::failureDetails); "" after a stop.
    const std::string& failureDetails() const { return details_; }

    const ProgressTicker& ticker() const { return ticker_; }

private:
    void end(ProgressResult result);

    ApplyPlan plan_;
    CommandThreadServices services_;
    ProgressTicker ticker_;
    ProgressDisplay& display_;
    std::unique_ptr<CCommandThread> worker_;
    std::optional<ProgressResult> result_;
    ApplyOutcome outcome_ = ApplyOutcome::Cancelled;
    std::string details_;
};

}  // namespace quorrel
