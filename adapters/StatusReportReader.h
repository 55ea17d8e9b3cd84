#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/StatusReport.h"

namespace quorrel {

// Reads the status report of the adapter status view on a thread of its own, so that the
// window showing it stays responsive however long the command takes, and gives up when
// its owner says so (the window's deadline, or the window closing). What arrived until
// then is kept.
class StatusReportReader {
public:
    // Both are called on the reading thread: `arrived` with all the bytes read so far,
    // after each piece, and `ended` once at the end, with whether the whole report came
    // (false when the reading was stopped first).
    struct Events {
        std::function<void(const std::string& bytes)> arrived;
        std::function<void(bool complete)> ended;
    };

    explicit StatusReportReader(std::unique_ptr<system::OutputCapture> capture);
    // Stops the reading and waits for its thread, which takes at most one look at the
    // stop request (system::kCaptureStopCheckMs).
    ~StatusReportReader();
    StatusReportReader(const StatusReportReader&) = delete;
    StatusReportReader& operator=(const StatusReportReader&) = delete;

    // Starts the command and the reading thread; a failure, with the reason, when the
    // command cannot be started: nothing is read then and no event comes.
    Done start(Events events);

    // Gives up reading; `ended` follows with false unless the report was complete already.
    void stop() { stopRequested_.store(true); }

    bool reading() const { return reading_.load(); }
    // All bytes read so far.
    std::string bytes() const;

private:
    void read(const Events& events);

    std::unique_ptr<system::OutputCapture> capture_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> reading_{false};
    mutable std::mutex mutex_;
    std::string bytes_;
    std::thread thread_;
};

}  // namespace quorrel
