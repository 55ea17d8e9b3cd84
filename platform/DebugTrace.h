#pragma once

namespace quorrel {

// One printf-style line on the debugger output, prefixed "[Quorrel](<thread id>): " and
// ending in a line feed; never longer than 1024 bytes. Callable from any thread.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace quorrel
