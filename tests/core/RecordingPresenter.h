#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "base/MessagePresenter.h"

namespace quorrel::test {

// Records the boxes it is asked to show, from any thread. When held, show() stands for a
// box the user has not closed yet and blocks until close() is called.
class RecordingPresenter : public MessagePresenter {
public:
    MessageResult show(const Message& message) override {
        std::unique_lock lock(mutex_);
        shown_.push_back(message);
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_; });
        return MessageResult::Ok;
    }
    void hold() {
        const std::lock_guard lock(mutex_);
        held_ = true;
    }
    void close() {
        const std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }
    bool awaitShown(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return shown_.size() >= count; });
    }
    std::vector<Message> shown() {
        const std::lock_guard lock(mutex_);
        return shown_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Message> shown_;
    bool held_ = false;
};

}  // namespace quorrel::test
