#pragma once

#include <chrono>
#include <functional>

namespace quorrel::test {

// How long a test waits for something that happens at once on a healthy system: far more
// than any slow or loaded machine needs, so that only a real fault runs into it.
inline constexpr std::chrono::seconds kPatience{30};

// Asks `done` until it holds; false when `limit` has passed first, measured on the steady
// clock. Between two questions `idle` runs: by default a sleep of a millisecond, in tests
// of the user interface a turn of the event loop.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::steady_clock::duration limit = kPatience,
               const std::function<void()>& idle = {});

}  // namespace quorrel::test
