#include "tests/support/WaitUntil.h"

#include <thread>

namespace quorrel::test {

bool waitUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration limit,
               const std::function<void()>& idle) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            // One last look: the condition may have come true while the clock ran out.
            return done();
        }
        if (idle) {
            idle();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return true;
}

}  // namespace quorrel::test
