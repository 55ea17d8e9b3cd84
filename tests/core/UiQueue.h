#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "tests/support/WaitUntil.h"

namespace quorrel::test {

// Stands for the user-interface thread's queue: worker threads post calls, the test runs
// them itself, on its own thread.
class UiQueue {
public:
    void post(std::function<void()> call) {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    // Waits until a call has been posted.
    bool awaitCall() {
        return waitUntil([&] {
            const std::lock_guard lock(mutex_);
            return !calls_.empty();
        });
    }
    void runAll() {
        std::deque<std::function<void()>> calls;
        {
            const std::lock_guard lock(mutex_);
            calls.swap(calls_);
        }
        for (auto& call : calls) {
            call();
        }
    }

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
};

}  // namespace quorrel::test
