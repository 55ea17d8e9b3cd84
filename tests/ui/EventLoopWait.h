#pragma once

#include <QTest>
#include <functional>

#include "tests/support/WaitUntil.h"

namespace quorrel::test {

// waitUntil for tests of the user interface: this thread's event loop runs between two
// questions, so that queued calls, timers and process notifications arrive.
inline bool waitWithEvents(const std::function<bool()>& done,
                           std::chrono::steady_clock::duration limit = kPatience) {
    return waitUntil(done, limit, [] { QTest::qWait(1); });
}

}  // namespace quorrel::test
