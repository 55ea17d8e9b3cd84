#include "apply/DetachedThread.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace quorrel {

namespace {

// Opened by the starting thread once it has detached the new one.
struct Handover {
    std::mutex mutex;
    std::condition_variable opened;
    bool detached = false;

    void open() {
        {
            const std::lock_guard lock(mutex);
            detached = true;
        }
        opened.notify_all();
    }
    void awaitOpen() {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return detached; });
    }
};

}  // namespace

bool startDetachedThread(std::function<void()> body) {
    auto handover = std::make_shared<Handover>();
    try {
        std::thread thread([handover, body = std::move(body)] {
            body();
            handover->awaitOpen();
        });
        thread.detach();
    } catch (const std::system_error&) {
        return false;
    }
    handover->open();
    return true;
}

}  // namespace quorrel
