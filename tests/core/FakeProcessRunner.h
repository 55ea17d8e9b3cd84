#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ProcessRunner.h"
#include "tests/support/WaitUntil.h"

namespace quorrel::test {

// A process runner that records the lines it is asked to run and answers from a script.
// A line can be held: runAndWait() then blocks until release() is called, standing for
// a child that is still running.
class FakeProcessRunner : public platform::ProcessRunner {
public:
    platform::ProcessOutcome runAndWait(const std::string& line) override {
        std::unique_lock lock(mutex_);
        started_.push_back(line);
        changed_.notify_all();
        changed_.wait(lock, [&] { return held_.count(line) == 0; });
        const auto found = outcomes_.find(line);
        return found != outcomes_.end() ? found->second : platform::ProcessOutcome::exited(0);
    }

    void answer(const std::string& line, platform::ProcessOutcome outcome) {
        const std::lock_guard lock(mutex_);
        outcomes_[line] = std::move(outcome);
    }
    void hold(const std::string& line) {
        const std::lock_guard lock(mutex_);
        held_[line] = true;
    }
    void release(const std::string& line) {
        const std::lock_guard lock(mutex_);
        held_.erase(line);
        changed_.notify_all();
    }
    // Waits until `count` lines have been started; false when that takes longer than a
    // healthy machine ever needs.
    bool awaitStarted(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return started_.size() >= count; });
    }
    std::vector<std::string> started() {
        const std::lock_guard lock(mutex_);
        return started_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> started_;
    std::map<std::string, platform::ProcessOutcome> outcomes_;
    std::map<std::string, bool> held_;
};

}  // namespace quorrel::test
