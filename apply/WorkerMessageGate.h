#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

#include "base/MessagePresenter.h"

namespace quorrel {

// Hands the message boxes of a worker thread to the user-interface thread and keeps the
// worker waiting until the user has closed them.
//
// With a `post` function, show() packs the box into a call that post() must run later on
// the UI thread, where the presenter shows it; the worker blocks until the box is closed.
// Without one, the presenter is called right on the worker thread (tests).
//
// close() is for the owner giving up on the worker: no box appears after it (a box still
// waiting in the UI thread's queue is dropped there), a box the user sees now is closed
// (the presenter's showClosable), and a worker blocked in show() returns at once. Call
// close() on the UI thread, so that it is ordered with the queued calls and reaches the
// box there; the owner typically calls it from an event that arrives while the box is
// open, such as the progress dialog's time limit.
class WorkerMessageGate : public MessagePresenter,
                          public std::enable_shared_from_this<WorkerMessageGate> {
public:
    using Post = std::function<void(std::function<void()>)>;

    WorkerMessageGate(std::shared_ptr<MessagePresenter> presenter, Post post);

    // From the worker. MessageResult::Cancel when the gate is closed.
    MessageResult show(const Message& message) override;

    void close();
    bool closed() const { return closed_.load(); }

private:
    // One box on its way; answered once, by the UI thread or by close().
    struct Pending {
        std::promise<MessageResult> promise;
        std::atomic<bool> answered{false};
        void answer(MessageResult result);
    };

    void deliver(const std::shared_ptr<Pending>& pending, const Message& message);

    std::shared_ptr<MessagePresenter> presenter_;
    Post post_;
    std::atomic<bool> closed_{false};
    // The box on the UI thread; touched only there.
    MessageCloser closer_;
    std::mutex mutex_;
    std::shared_ptr<Pending> pending_;
};

}  // namespace quorrel
