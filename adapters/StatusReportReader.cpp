#include "adapters/StatusReportReader.h"

#include <system_error>

namespace quorrel {

StatusReportReader::StatusReportReader(std::unique_ptr<system::OutputCapture> capture)
    : capture_(std::move(capture)) {}

StatusReportReader::~StatusReportReader() {
    stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

Done StatusReportReader::start(Events events) {
    if (!capture_ || thread_.joinable()) {
        return failure("no report command");
    }
    if (Done started = capture_->start(); !started) {
        return started;
    }
    reading_.store(true);
    try {
        thread_ = std::thread([this, events = std::move(events)] { read(events); });
    } catch (const std::system_error& error) {
        // No thread to read on: the command runs on, unread, as an unstarted report.
        reading_.store(false);
        return failure(std::string("no thread to read the report: ") + error.what());
    }
    return {};
}

std::string StatusReportReader::bytes() const {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

void StatusReportReader::read(const Events& events) {
    const bool complete = capture_->collect(
        [&](std::string_view piece) {
            std::string all;
            {
                const std::lock_guard lock(mutex_);
                bytes_.append(piece);
                all = bytes_;
            }
            if (events.arrived) {
                events.arrived(all);
            }
        },
        [this] { return stopRequested_.load(); });
    reading_.store(false);
    if (events.ended) {
        events.ended(complete);
    }
}

}  // namespace quorrel
