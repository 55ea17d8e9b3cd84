#include <mutex>
#include <string>

#include "platform/DebugOutput.h"

namespace quorrel::platform {

void writeSystemDebugOutput(std::string_view line);

namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<void(std::string_view)>& sink() {
    static std::function<void(std::string_view)> function;
    return function;
}

}  // namespace

void setDebugSink(std::function<void(std::string_view)> function) {
    const std::lock_guard lock(sinkMutex());
    sink() = std::move(function);
}

void writeDebugOutput(std::string_view line) {
    {
        const std::lock_guard lock(sinkMutex());
        if (sink()) {
            sink()(line);
            return;
        }
    }
    writeSystemDebugOutput(line);
}

}  // namespace quorrel::platform
