#pragma once

namespace quorrel {

// The timer of the progress dialog, as the dialog's window provides it.
class ProgressTimer {
public:
    virtual ~ProgressTimer() = default;
    virtual void start(int timerId, int periodMs) = 0;
    virtual void stop(int timerId) = 0;
};

enum class ProgressResult { Ok = 1, Cancel = 2 };

// The tick rule of the progress dialog: it polls the worker every 200 ms, turns the
// animation one picture further per tick while the worker runs, and gives up on the 501st
// tick that still finds the worker running.
class ProgressTicker {
public:
    static constexpr int kTimerId = 1125;
    static constexpr int kPeriodMs = 200;
    static constexpr int kTickLimit = 500;
    static constexpr int kFirstBitmap = 168;  // pictures 168 to 182
    static constexpr int kFrameCount = 15;

    struct Step {
        enum class Action {
            None,       // another timer, or a tick after the end
            ShowFrame,  // the worker still runs: show picture `bitmap`
            Finish,     // the worker has finished: the timer is stopped, end with OK
            GiveUp,     // time is up: end with cancel, as a stop by the user
        };
        Action action = Action::None;
        int bitmap = 0;
    };

    explicit ProgressTicker(ProgressTimer& timer) : timer_(timer) {}

    // Starts the timer. The dialog opens showing kFirstBitmap.
    void start();

    Step tick(int timerId, bool workerRunning);

    // The dialog is being cancelled: a tick still queued does nothing.
    void cancel() { count_ = -1; }

    int tickCount() const { return count_; }
    int nextFrame() const { return frame_; }

private:
    ProgressTimer& timer_;
    int count_ = 0;
    int frame_ = 1;
};

}  // namespace quorrel
