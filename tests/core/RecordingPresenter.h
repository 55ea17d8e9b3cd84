#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "base/MessagePresenter.h"
#include "tests/support/WaitUntil.h"

namespace quorrel::test {

// Records the boxes it is asked to show, from any thread. When held, show() stands for a
// box the user has not closed yet and blocks until close() is called.
//
// A box shown with showClosable() stands for a box that stays open while `whileOpen` runs
// (the events that reach the program meanwhile); the box is closed by its owner when the
// closer fires during that time, else by the user afterwards.
class RecordingPresenter : public MessagePresenter {
public:
    MessageResult show(const Message& message) override {
        std::unique_lock lock(mutex_);
        shown_.push_back(message);
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_; });
        return MessageResult::Ok;
    }
    MessageResult showClosable(const Message& message, MessageCloser& closer) override {
        if (closer.closed()) {
            return MessageResult::Cancel;
        }
        bool closedByOwner = false;
        closer.attach([&closedByOwner] { closedByOwner = true; });
        {
            const std::lock_guard lock(mutex_);
            shown_.push_back(message);
            changed_.notify_all();
        }
        if (whileOpen) {
            whileOpen();
        }
        closer.detach();
        const std::lock_guard lock(mutex_);
        (closedByOwner ? closedByOwner_ : closedByUser_) += 1;
        return closedByOwner ? MessageResult::Cancel : MessageResult::Ok;
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
        return changed_.wait_for(lock, kPatience, [&] { return shown_.size() >= count; });
    }
    std::vector<Message> shown() {
        const std::lock_guard lock(mutex_);
        return shown_;
    }
    // Boxes of showClosable() closed by their owner, and by the user.
    int closedByOwner() {
        const std::lock_guard lock(mutex_);
        return closedByOwner_;
    }
    int closedByUser() {
        const std::lock_guard lock(mutex_);
        return closedByUser_;
    }

    std::function<void()> whileOpen;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Message> shown_;
    bool held_ = false;
    int closedByOwner_ = 0;
    int closedByUser_ = 0;
};

}  // namespace quorrel::test
